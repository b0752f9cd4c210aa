// The builders that make the window's controls from the layout tables, and what else the window
// reads of those tables' rows.
#pragma once

#include <QString>
#include <string_view>
#include <vector>

#include "Controls.h"

class QPainter;
class QRect;
class QStyle;
class QWidget;

namespace kelo {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace layout {
struct Control;
}

// The keys of a layout row, as a screen reader reads them in the button's description
// ("Alt+3"); empty for a control without keys.
QString spokenKeys(const layout::Control& control);

// The new-game button of length 3, 4 or 5: the button whose digit it is.
QPushButton* lengthButton(const Controls& controls, int length);

// The six buttons, in tab order.
std::vector<QPushButton*> buttons(const Controls& controls);

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
