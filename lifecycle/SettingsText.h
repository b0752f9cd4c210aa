// The text of Kelo.ini: one line "left,top,length" and the strict reader that takes it back.
// Plain C++ with no Qt, so that the fuzz target can link it on its own.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kelo {

struct Settings {
    float IniGauche = 0.0F;
    float IniHaut = 0.0F;
    float IniChiffres = 0.0F;
};

// What a read got before it stopped: values[0 .. count-1] are good, count == 3 is a whole file.
struct SettingsValues {
    std::array<float, 3> values{};
    int count = 0;
};

// How much of the file a text is: the whole of it, or only its start, cut by a bounded read.
enum class TextExtent { Whole, Start };

// Reads the first three values. A value is an optional '-' and a decimal number with an optional
// fraction and exponent ("600", "-45", "3.5", "1e+07", ".5"); blanks (space, tab) may surround
// it, and a separator or the end of the text follows it: a comma or a line break (CR LF, CR or
// LF). Whatever follows the third value's separator is ignored. The read stops, keeping the
// values before, at a value that is missing, empty or not wholly a number: a '+' sign, a hex
// float, "inf" or "nan", a number out of single-precision range (or that would round to zero),
// a number followed by anything but blanks and a separator. Whatever follows the third value
// is ignored, whatever its bytes (a NUL, say). Of a text that is only the file's start, a value
// that reaches its end, or is followed only by blanks, could read otherwise with what follows ("3"
// of "35", "2 " of "2 x"), so it is not read.
SettingsValues readSettingsValues(std::string_view bytes, TextExtent extent = TextExtent::Whole);

// The whole file or nothing.
std::optional<Settings> readSettings(std::string_view bytes);

// "left,top,length\r\n". Each value is written with the fewest digits that read back to the
// same float (at most 9, never more than 7 for a window position or a code length): whole values
// have no point (600, -45, 3), fractions use a point whatever the locale (3.5, 0.1); values from
// 1e7 on or below 1e-4 may take an exponent (1e+07, 1e-45). Negative zero is written "0".
std::string writeSettings(float IniGauche, float IniHaut, float IniChiffres);

}  // namespace kelo
