// The game's one window: the board, the entry box, the counter and the six buttons, built from
// the layout tables, showing the board for the rules and passing the player's events to them.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "Announcer.h"
#include "BoardCells.h"
#include "ExitPause.h"
#include "Game.h"
#include "GameState.h"
#include "Placement.h"
#include "RandomSource.h"
#include "SoundPlayer.h"

class QLineEdit;
class QPushButton;

namespace kelo {

class FocusStyle;
class ValueLabel;

class Form1 final : public QWidget, public BoardCells {
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

  signals:
    // Once, when the first game is on the screen: the moment for work that can wait until then.
    void firstGameShown();

  public:
    // BoardCells
    void setCaption(Column column, int row, std::string_view text) override;
    void setCellVisible(Column column, int row, bool visible) override;
    [[nodiscard]] std::string entryText() const override;
    [[nodiscard]] std::string entryStart(std::size_t characters) const override;
    void setEntryText(std::string_view text) override;
    void setLabelncoup(std::string_view text) override;
    void setRowGuess(int row, int guess) override;
    void giveFocus(FocusTarget target) override;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Form_Load();
    void Form_Unload();
    void firstActivation();
    void whenFirstGameShown();
    void moveFrameTo(TwipsPoint at);
    void keepFrameOnScreen();
    void buildControls();
    void buildCells();
    void buildFrames();
    void drawFrames(QPainter& painter, const QRect& area, bool overLabelsOnly) const;
    void nameCell(Column column, int row);
    void connectEvents();
    bool textKeyPress(QEvent* event);
    void buttonMouseSound(QPushButton* button, QEvent* event);

    // A player's action on the game, followed by its outcome told to screen readers.
    void act(const std::function<void()>& run);

    SoundPlayer& sound_;
    Game game_;
    std::array<std::array<ValueLabel*, BoardRows>, ColumnCount> cells_{};
    std::array<int, BoardRows> rowGuess_{};
    QLineEdit* text_ = nullptr;
    ValueLabel* labelncoup_ = nullptr;
    QPushButton* commandv_ = nullptr;
    std::array<QPushButton*, MaxLength - MinLength + 1> lengthButtons_{};
    std::array<QPushButton*, 6> buttons_{};
    FocusStyle* focusStyle_ = nullptr;
    Announcer announcer_;
    bool activated_ = false;
    bool placedFromFile_ = false;
    bool firstGameShown_ = false;
    QTimer firstGameTimer_;
    SystemClocks systemClocks_;
    PauseClocks* clocks_ = &systemClocks_;
    std::function<void(int)> endProcess_;
};

}  // namespace kelo
