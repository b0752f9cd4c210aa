// Every control of the window, one member each; the layout table names the member of each row.
#pragma once

#include <array>
#include <cstddef>

#include "BoardCells.h"
#include "GameState.h"

class QLineEdit;
class QPushButton;

namespace kelo {

class ValueLabel;

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

    [[nodiscard]] ValueLabel* cell(Column column, int row) const {
        return cells.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
    }
};

// The member of Controls that keeps a control of type T.
template <typename T>
using ControlMember = T* Controls::*;

}  // namespace kelo
