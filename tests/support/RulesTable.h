// The rules core wired to an in-memory board, a recording sound player and a fixed draw.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "Game.h"
#include "MemoryBoard.h"
#include "RecordingSound.h"
#include "SequenceRandom.h"

namespace kelo::test {

struct RulesTable {
    MemoryBoard board;
    RecordingSound sound;
    SequenceRandom random;
    Game game{board, sound, random};

    [[nodiscard]] const GameState& s() const { return game.state(); }

    // A new game of the code's length whose draw gives exactly these digits.
    void start(const std::vector<int>& code) {
        random.drawDigits(code);
        game.CommandCh_Click(static_cast<int>(code.size()));
    }
    // Types `text` into the entry box and presses Enter; returns the key code after handling.
    std::int16_t enter(const std::string& text) {
        board.entry = text;
        std::int16_t key = 13;
        game.Text_KeyPress(key);
        return key;
    }
    // A guess of length n sharing no digit with a code made only of 9s and 8s.
    static std::string miss(int n) { return std::string(static_cast<std::size_t>(n), '1'); }
};

}  // namespace kelo::test
