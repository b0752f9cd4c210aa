// The board cells, the entry box and the counter written for the rules, and the cells' spoken
// names.
#include "FormBoard.h"

#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>
#include <utility>

#include "Layout.h"
#include "ValueLabel.h"

namespace kelo {

void FormBoard::setCaption(Column column, int row, std::string_view text) {
    controls_.cell(column, row)->setCaption(toQString(text));
    nameCell(column, row);
}

void FormBoard::setRowGuess(int row, int guess) {
    if (std::exchange(rowGuess_.at(static_cast<std::size_t>(row)), guess) == guess)
        return;
    for (int c = 0; c < ColumnCount; ++c)
        nameCell(static_cast<Column>(c), row);
}

void FormBoard::setColumnPosition(Column column, int position) {
    columnPosition_.at(static_cast<std::size_t>(column)) = position;
}

// Rereading the board, a blind player hears which guess and which place a cell is about.
void FormBoard::nameCell(Column column, int row) {
    ValueLabel* label = controls_.cell(column, row);
    static const QString Empty = QStringLiteral("vide");
    QString name = Empty;
    if (!label->text().isEmpty()) {
        const int guess = rowGuess_.at(static_cast<std::size_t>(row));
        name = guess == 0 ? QStringLiteral("Code, ") : QStringLiteral("Coup %1, ").arg(guess);
        name += toQString(layout::CellColumns.at(static_cast<std::size_t>(column)).accessibleStem);
        const int position = columnPosition_.at(static_cast<std::size_t>(column));
        if (position > 0)
            name += QStringLiteral(" %1").arg(position);
    }
    if (label->accessibleName() != name)
        label->setAccessibleName(name);
}

void FormBoard::setCellVisible(Column column, int row, bool visible) {
    controls_.cell(column, row)->setVisible(visible);
}

QString FormBoard::entry() const {
    return pendingText_ ? *pendingText_ : controls_.Text->text();
}

std::string FormBoard::entryText() const {
    return entry().toStdString();
}

// A character takes one or two UTF-16 units, so twice as many units hold at least as many whole
// characters.
std::string FormBoard::entryStart(std::size_t characters) const {
    const auto units = static_cast<qsizetype>(std::min<std::size_t>(
        characters * 2, static_cast<std::size_t>(std::numeric_limits<qsizetype>::max())));
    return entry().left(units).toStdString();
}

void FormBoard::setEntryText(std::string_view text) {
    if (focusHeld_) {
        pendingText_ = toQString(text);
        return;
    }
    controls_.Text->setText(toQString(text));
}

void FormBoard::setLabelncoup(std::string_view text) {
    controls_.Labelncoup->setCaption(toQString(text));
}

void FormBoard::giveFocus(FocusTarget target) {
    QWidget* widget = target == FocusTarget::Text
                          ? static_cast<QWidget*>(controls_.Text)
                          : lengthButton(controls_, static_cast<int>(target));
    pendingFocus_ = widget;
    if (!focusHeld_)
        releaseFocus();
}

void FormBoard::holdFocus() {
    focusHeld_ = true;
}

void FormBoard::releaseFocus() {
    focusHeld_ = false;
    if (QWidget* widget = std::exchange(pendingFocus_, nullptr))
        widget->setFocus(Qt::OtherFocusReason);
    // After the focus has left it, so that a screen reader does not read the box's new text
    // ("Code!", "Bien!") as typed.
    if (const std::optional<QString> text = std::exchange(pendingText_, std::nullopt))
        controls_.Text->setText(*text);
}

}  // namespace kelo
