// What must hold for any bytes given to the settings reader: the fuzz target aborts when it does
// not, and a test replays the seed corpus through it in every build.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "SettingsText.h"

namespace kelo::fuzz {

inline bool sameFloat(float a, float b) {
    if (a == 0.0F && b == 0.0F)
        return true;  // the writer drops the sign of zero
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The empty text when all holds, else what broke.
inline std::string checkSettingsText(std::string_view bytes) {
    const SettingsValues partial = readSettingsValues(bytes);
    const std::optional<Settings> whole = readSettings(bytes);
    if (partial.count < 0 || partial.count > 3)
        return "count out of range";
    if (whole.has_value() != (partial.count == 3))
        return "whole and partial reads disagree";
    for (int k = 0; k < partial.count; ++k) {
        if (!std::isfinite(partial.values[static_cast<std::size_t>(k)]))
            return "a value read is not finite";
    }
    // The file reader takes only the file's start: that must never give a value the whole text
    // does not, but it may stop earlier.
    for (const std::size_t cut : {bytes.size() / 2, bytes.size() - (bytes.empty() ? 0 : 1)}) {
        const SettingsValues start = readSettingsValues(bytes.substr(0, cut), TextExtent::Start);
        if (start.count > partial.count)
            return "the text's start gives more values than the whole text";
        for (std::size_t k = 0; k < static_cast<std::size_t>(start.count); ++k) {
            if (!sameFloat(start.values[k], partial.values[k]))
                return "the text's start reads another value than the whole text";
        }
    }
    if (!whole)
        return {};

    const std::string line = writeSettings(whole->IniGauche, whole->IniHaut, whole->IniChiffres);
    if (line.size() < 7 || line.substr(line.size() - 2) != "\r\n")
        return "line not ended by CR LF: " + line;
    const std::string_view body = std::string_view(line).substr(0, line.size() - 2);
    for (std::size_t k = 0; k < body.size(); ++k) {
        const char c = body[k];
        const bool exponentSign = c == '+' && k > 0 && body[k - 1] == 'e';
        if (!exponentSign && std::string_view("0123456789-.e,").find(c) == std::string_view::npos) {
            return "unexpected character in the line: " + line;
        }
    }
    if (std::count(body.begin(), body.end(), ',') != 2)
        return "not three values: " + line;

    const std::optional<Settings> again = readSettings(line);
    if (!again)
        return "the writer's line is not read back: " + line;
    if (!sameFloat(again->IniGauche, whole->IniGauche) ||
        !sameFloat(again->IniHaut, whole->IniHaut) ||
        !sameFloat(again->IniChiffres, whole->IniChiffres)) {
        return "the writer's line reads back to other values: " + line;
    }
    if (writeSettings(again->IniGauche, again->IniHaut, again->IniChiffres) != line) {
        return "writing the values read back gives another line: " + line;
    }
    return {};
}

}  // namespace kelo::fuzz
