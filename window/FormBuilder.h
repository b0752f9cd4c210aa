// The window's controls, one named member each, and the builders that make them from the layout tables.
#pragma once

#include <QString>
#include <array>
#include <string_view>

#include "BoardCells.h"
#include "GameState.h"

class QLineEdit;
class QPainter;
class QPushButton;
class QRect;
class QStyle;
class QWidget;

namespace kelo {

class ValueLabel;

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every control of the form, by its name in the layout tables.
struct Controls {
    QPushButton* Command3ch = nullptr;
    QPushButton* Command4ch = nullptr;
    QPushButton* Command5ch = nullptr;
    QPushButton* Commandv = nullptr;
    QPushButton* Commandmoins = nullptr;
    QPushButton* Commandplus = nullptr;
    QLineEdit* Text = nullptr;
    ValueLabel* Labeltitre = nullptr;
    ValueLabel* Labelncoup = nullptr;
    // The board columns A1, A2, A3, A4, A5, Bon and Mal, each of BoardRows cells, row 0 at the top.
    std::array<std::array<ValueLabel*, BoardRows>, ColumnCount> cells{};

    // The new-game button of length 3, 4 or 5 (Command3ch, Command4ch, Command5ch).
    [[nodiscard]] QPushButton* lengthButton(int n) const {
        return n == 5 ? Command5ch : n == 4 ? Command4ch : Command3ch;
    }
    [[nodiscard]] std::array<QPushButton*, 6> buttons() const {
        return {Command3ch, Command4ch, Command5ch, Commandv, Commandmoins, Commandplus};
    }
    [[nodiscard]] ValueLabel* cell(Column column, int row) const {
        return cells.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
    }
};

namespace build {

// The form's name, caption, size and colours.
void styleForm(QWidget& form);

// The buttons, the entry box and the labels in tab order, with their shortcut keys, then the
// board cells; `focusStyle` draws the ones that take the focus.
Controls controls(QWidget& form, QStyle* focusStyle);

// Lets the labels that a frame lies over draw it over themselves, and stacks the controls.
void layFrames(const QWidget& form, const Controls& controls);

// The decorative frames of `area`, back to front; with `overLabelsOnly` those drawn over labels.
void drawFrames(const QWidget& form, QPainter& painter, const QRect& area, bool overLabelsOnly);

}  // namespace build
}  // namespace kelo
