// The game's one window: the board, the entry box, the counter and the six buttons, built from
// the layout tables, showing the board for the rules and passing the player's events to them.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "Announcer.h"
#include "BoardCells.h"
#include "ExitPause.h"
#include "FormBoard.h"
#include "FormBuilder.h"
#include "Game.h"
#include "GameState.h"
#include "Lifecycle.h"
#include "Placement.h"
#include "RandomSource.h"
#include "SoundPlayer.h"

namespace kelo {

class FocusStyle;
class ValueLabel;

class Form1 final : public QWidget {
    Q_OBJECT

  public:
    Form1(SoundPlayer& sound, RandomSource& random, QWidget* parent = nullptr);

    [[nodiscard]] Game& game() { return game_; }
    [[nodiscard]] const Game& game() const { return game_; }

    // Board cell `row` (0..7) of a column; its objectName is the column's name, '_' and the row.
    [[nodiscard]] ValueLabel* cell(Column column, int row) const;

    // The clocks of the exit pause and the end of the process that the close step uses; by
    // default the real ones, which end the program.
    void setCloseServices(PauseClocks& clocks, std::function<void(int)> endProcess);

    // The save step of the close without the rest, for a process that ends by another way (the
    // display lost); nothing once a close has begun, or from another thread.
    void saveSettingsNow();

  signals:
    // Once, when the first game is on the screen: the moment for work that can wait until then.
    void firstGameShown();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void connectEvents();
    // A player's action on the game, followed by its outcome told to screen readers.
    void act(const std::function<void()>& run);

    // Load, close and placement on the screen.
    void Form_Load();
    void Form_Unload();
    [[nodiscard]] ClosingWindow closingWindow() const;
    void moveFrameTo(TwipsPoint at);
    void keepFrameOnScreen();

    // The first game waits for the window's first activation, or for it to be shown a while.
    void firstActivation();
    void whenFirstGameShown();

    SoundPlayer& sound_;
    Controls controls_;
    FormBoard board_;
    Game game_;
    FocusStyle* focusStyle_ = nullptr;
    Announcer announcer_;
    bool activated_ = false;
    bool placedFromFile_ = false;
    bool closing_ = false;
    bool firstGameShown_ = false;
    QTimer firstGameTimer_;
    SystemClocks systemClocks_;
    PauseClocks* clocks_ = &systemClocks_;
    std::function<void(int)> endProcess_;
};

}  // namespace kelo
