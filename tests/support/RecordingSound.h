// A sound player that only writes down what it was asked to play.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SoundPlayer.h"

namespace kelo::test {

struct RecordingSound final : SoundPlayer {
    std::vector<std::pair<std::string, std::int32_t>> requests;

    void play(std::string_view fileName, std::int32_t flags) override {
        requests.emplace_back(std::string(fileName), flags);
    }
    // The file names requested, in order, joined by blanks: "Kelo3.wav Kelo4.wav".
    [[nodiscard]] std::string names() const {
        std::string out;
        for (const auto& [name, flags] : requests) {
            if (!out.empty())
                out += ' ';
            out += name;
        }
        return out;
    }
};

}  // namespace kelo::test
