// A board held in plain memory, for driving the rules without a window.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "BoardCells.h"
#include "GameState.h"

namespace kelo::test {

struct MemoryBoard final : BoardCells {
    std::array<std::array<std::string, BoardRows>, ColumnCount> captions{};
    std::array<std::array<bool, BoardRows>, ColumnCount> visible{};
    std::string entry;
    std::string labelncoup;
    std::optional<FocusTarget> focus;

    MemoryBoard() {
        for (auto& column : visible)
            column.fill(true);
    }

    void setCaption(Column column, int row, std::string_view text) override {
        captions.at(index(column)).at(static_cast<std::size_t>(row)) = text;
    }
    void setCellVisible(Column column, int row, bool shown) override {
        visible.at(index(column)).at(static_cast<std::size_t>(row)) = shown;
    }
    [[nodiscard]] std::string entryText() const override { return entry; }
    void setEntryText(std::string_view text) override { entry = text; }
    void setLabelncoup(std::string_view text) override { labelncoup = text; }
    void giveFocus(FocusTarget target) override { focus = target; }

    [[nodiscard]] const std::string& cell(Column column, int row) const {
        return captions.at(index(column)).at(static_cast<std::size_t>(row));
    }
    [[nodiscard]] bool isVisible(Column column, int row) const {
        return visible.at(index(column)).at(static_cast<std::size_t>(row));
    }
    // One board row as "c1|c2|c3|c4|c5|bon|mal", for compact comparisons.
    [[nodiscard]] std::string row(int r) const {
        std::string out;
        for (int c = 0; c < ColumnCount; ++c) {
            if (c > 0)
                out += '|';
            out += cell(static_cast<Column>(c), r);
        }
        return out;
    }

    static std::size_t index(Column column) { return static_cast<std::size_t>(column); }
};

}  // namespace kelo::test
