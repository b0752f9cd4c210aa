// The rules of one window's game, told the window's events one call at a time. Each call runs
// to its end, writes the board through BoardCells and requests sounds through SoundPlayer.
#pragma once

#include <cstdint>

#include "BoardCells.h"
#include "GameState.h"
#include "Outcome.h"
#include "RandomSource.h"
#include "SoundPlayer.h"

namespace kelo {

class Game {
  public:
    Game(BoardCells& board, SoundPlayer& sound, RandomSource& random);

    [[nodiscard]] const GameState& state() const { return s_; }
    // What the window's load step read from the settings file: the remembered position (0 where
    // none was read) and length (3 where the file gave no whole line).
    void settingsRead(Single left, Single top, Single length);
    // The window's position as the close step keeps it on the screen, the one to be saved; not
    // called when the window closes minimized or maximized.
    void positionClosed(Single left, Single top);
    // The exit pause's first and last readings of the time of day.
    void exitPaused(double start, double last);
    // What the last call below did; each call replaces it.
    [[nodiscard]] const Outcome& outcome() const { return outcome_; }

    // Command3ch_Click, Command4ch_Click, Command5ch_Click: the new game of length 3, 4 or 5.
    void CommandCh_Click(int length);
    // The character typed into the entry box (13 for Enter), before it is inserted; set to 0 when
    // consumed.
    void Text_KeyPress(std::int16_t& typed);
    void Commandv_Click();
    void Commandmoins_Click() { scroll(-1); }
    void Commandplus_Click() { scroll(+1); }
    // Tells the rows the board shows, and changes nothing.
    void rereadBoard();
    // The window's first activation: asynchronous sounds, then a game of the remembered length.
    void Form_Activate();

  private:
    void Ini();
    void Tirage(int n);  // Tirage3, Tirage4, Tirage5
    void Proced(int n);  // Proced3, Proced4, Proced5
    void Fini(int n);    // Fini3, Fini4, Fini5
    void V(int n);       // V3, V4, V5
    void scroll(int step);
    void scrolled(bool moved);
    [[nodiscard]] std::vector<Outcome::Row> shownRows() const;

    GameState s_;
    Outcome outcome_;
    BoardCells& board_;
    SoundPlayer& sound_;
    RandomSource& random_;
};

}  // namespace kelo
