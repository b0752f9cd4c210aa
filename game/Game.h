// The rules of one window's game, told the window's events one call at a time. Each call runs
// to its end, writes the board through BoardCells and requests sounds through SoundPlayer.
#pragma once

#include <cstdint>
#include <utility>

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
    // Runs `step` on the state: the window's load and close steps, which read the settings file
    // into the remembered settings and write them back with the exit pause's clock. The one
    // writer of the state besides the calls below.
    template <typename Step>
    decltype(auto) settingsStep(Step&& step) {
        return std::forward<Step>(step)(s_);
    }
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
