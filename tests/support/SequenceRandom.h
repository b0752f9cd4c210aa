// A random source that hands out a fixed list of values, so that the drawn code is known.
#pragma once

#include <QString>
#include <cstddef>
#include <utility>
#include <vector>

#include "RandomSource.h"

namespace kelo::test {

struct SequenceRandom final : RandomSource {
    std::vector<float> values;
    std::size_t nextIndex = 0;
    int reseeds = 0;

    void reseedFromClock() override { ++reseeds; }
    float next() override {
        const float r = values.empty() ? 0.0F : values[nextIndex % values.size()];
        ++nextIndex;
        return r;
    }
    // Values that draw the given digits: digit d comes from r = (d + 0.5) / 10.
    void drawDigits(const std::vector<int>& digits) {
        values.clear();
        nextIndex = 0;
        for (int d : digits)
            values.push_back((static_cast<float>(d) + 0.5F) / 10.0F);
    }
};

// The digits of a code written out, "0424", for drawDigits.
inline std::vector<int> digitsOf(const QString& text) {
    std::vector<int> digits;
    for (QChar c : text)
        digits.push_back(c.digitValue());
    return digits;
}

}  // namespace kelo::test
