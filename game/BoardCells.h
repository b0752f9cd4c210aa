// What the rules may do to the window: write board cells, the entry box and the counter,
// hide the outer digit columns and move the keyboard focus. Nothing else of the screen.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelo {

// The seven board columns A1, A2, A3, A4, A5, Bon, Mal, left to right; each has BoardRows cells,
// row 0 at the top.
enum class Column { A1, A2, A3, A4, A5, Bon, Mal };
constexpr int ColumnCount = 7;

// The entry box, or the new-game button of a code length, which is the button's value.
enum class FocusTarget { Text = 0, Command3ch = 3, Command4ch = 4, Command5ch = 5 };

// The new-game button of a code length 3, 4 or 5.
constexpr FocusTarget lengthButton(int n) {
    return static_cast<FocusTarget>(n);
}

class BoardCells {
  public:
    virtual ~BoardCells() = default;

    virtual void setCaption(Column column, int row, std::string_view text) = 0;
    // Only the cells of A1 and A5 are ever hidden.
    virtual void setCellVisible(Column column, int row, bool visible) = 0;
    // The entry box `Text`, as UTF-8.
    [[nodiscard]] virtual std::string entryText() const = 0;
    // The start of the entry box's text: its first `characters` characters or more, or all of it.
    // A window holding a huge pasted text gives this without copying the whole.
    [[nodiscard]] virtual std::string entryStart(std::size_t characters) const {
        static_cast<void>(characters);
        return entryText();
    }
    virtual void setEntryText(std::string_view text) = 0;
    virtual void setLabelncoup(std::string_view text) = 0;
    // Which guess board row `row` shows from now on, counted from 1; 0 for the code. Changes
    // nothing on the screen: it lets a screen reader say what a cell holds.
    virtual void setRowGuess(int row, int guess) {
        static_cast<void>(row);
        static_cast<void>(guess);
    }
    // Which place of the code column `column` shows from now on, counted from 1; 0 for a column
    // that shows no digit of the code. Changes nothing on the screen, as setRowGuess.
    virtual void setColumnPosition(Column column, int position) {
        static_cast<void>(column);
        static_cast<void>(position);
    }
    virtual void giveFocus(FocusTarget target) = 0;
};

}  // namespace kelo
