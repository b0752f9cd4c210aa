// The board as the rules write it (BoardCells), shown on the form's controls.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "BoardCells.h"
#include "FormBuilder.h"
#include "GameState.h"

class QWidget;

namespace kelo {

class FormBoard final : public BoardCells {
  public:
    // `controls` are filled before the first write.
    explicit FormBoard(const Controls& controls) : controls_(controls) {}

    void setCaption(Column column, int row, std::string_view text) override;
    void setCellVisible(Column column, int row, bool visible) override;
    [[nodiscard]] std::string entryText() const override;
    [[nodiscard]] std::string entryStart(std::size_t characters) const override;
    void setEntryText(std::string_view text) override;
    void setLabelncoup(std::string_view text) override;
    void setRowGuess(int row, int guess) override;
    void setColumnPosition(Column column, int position) override;
    void giveFocus(FocusTarget target) override;

    // While held, a focus move and the entry box's new text wait; on release, the last ones asked
    // for are made. A screen reader speaks the newly focused control at once, so the window tells
    // an outcome first and moves the focus after it.
    void holdFocus();
    void releaseFocus();

  private:
    [[nodiscard]] QString entry() const;
    void nameCell(Column column, int row);

    const Controls& controls_;
    std::array<int, BoardRows> rowGuess_{};
    std::array<int, ColumnCount> columnPosition_{};
    bool focusHeld_ = false;
    QWidget* pendingFocus_ = nullptr;
    std::optional<QString> pendingText_;
};

}  // namespace kelo
