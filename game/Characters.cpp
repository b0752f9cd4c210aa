// Splitting the entry text into characters and giving each its digit value.
#include <algorithm>
#include <cstdint>

#include "Rules.h"

namespace kelo {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";  // U+FFFD

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0 if there is none.
std::size_t sequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    std::uint32_t value = 0;
    if (lead < 0x80U) {
        return 1;
    } else if ((lead & 0xE0U) == 0xC0U) {
        length = 2, minimum = 0x80, value = lead & 0x1FU;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3, minimum = 0x800, value = lead & 0x0FU;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4, minimum = 0x10000, value = lead & 0x07U;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!isContinuation(byte))
            return 0;
        value = (value << 6U) | (byte & 0x3FU);
    }
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF are not characters.
    if (value < minimum || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

}  // namespace

std::size_t countCharacters(std::string_view utf8, std::size_t limit) {
    std::size_t count = 0;
    while (!utf8.empty() && count < limit) {
        utf8.remove_prefix(std::max<std::size_t>(sequenceLength(utf8), 1));
        ++count;
    }
    return count;
}

std::vector<std::string> splitCharacters(std::string_view utf8) {
    std::vector<std::string> characters;
    while (!utf8.empty()) {
        const std::size_t length = sequenceLength(utf8);
        if (length == 0) {
            characters.emplace_back(Replacement);
            utf8.remove_prefix(1);
        } else {
            characters.emplace_back(utf8.substr(0, length));
            utf8.remove_prefix(length);
        }
    }
    return characters;
}

Integer digitValue(std::string_view character) {
    if (character.size() == 1 && character[0] >= '0' && character[0] <= '9') {
        return static_cast<Integer>(character[0] - '0');
    }
    return 0;
}

}  // namespace kelo
