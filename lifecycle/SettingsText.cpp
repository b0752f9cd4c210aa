// The settings line's writer and its strict, locale-independent reader.
#include "SettingsText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kelo {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}

    void skipBlanks() {
        while (at_ < text_.size() && isBlank(text_[at_]))
            ++at_;
    }

    std::optional<float> number() {
        // from_chars would also take "inf" and "nan"; those are refused below, and it never
        // takes a '+' sign, leading blanks or "0x" (with the general format it stops at the x).
        const char* first = text_.data() + at_;
        const char* last = text_.data() + text_.size();
        float value = 0.0F;
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error != std::errc{} || !std::isfinite(value))
            return std::nullopt;
        at_ += static_cast<std::size_t>(end - first);
        return value;
    }

    bool atEnd() const { return at_ == text_.size(); }

    bool separator() {
        if (atEnd())
            return false;
        const char c = text_[at_];
        if (c == ',' || c == '\n') {
            ++at_;
            return true;
        }
        if (c == '\r') {
            ++at_;
            if (!atEnd() && text_[at_] == '\n')
                ++at_;
            return true;
        }
        return false;
    }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// Whatever a number's text may hold, "inf" and "nan" aside (refused anyway).
bool inNumber(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

}  // namespace

SettingsValues readSettingsValues(std::string_view bytes, TextExtent extent) {
    SettingsValues read;
    if (extent == TextExtent::Start) {
        // The number the text ends in may go on past it, and a shorter one may read differently
        // ("1e" of "1e5" reads as 1).
        while (!bytes.empty() && inNumber(bytes.back()))
            bytes.remove_suffix(1);
    }

    Cursor cursor(bytes);
    for (float& slot : read.values) {
        cursor.skipBlanks();
        const std::optional<float> value = cursor.number();
        if (!value)
            break;
        // Whatever follows the third value is ignored; the first two must end at a separator.
        const bool last = &slot == &read.values.back();
        cursor.skipBlanks();
        if (extent == TextExtent::Start && cursor.atEnd())
            break;  // what comes next is not known
        if (!last && !cursor.separator() && !cursor.atEnd())
            break;
        slot = *value;
        ++read.count;
    }
    return read;
}

std::optional<Settings> readSettings(std::string_view bytes) {
    const SettingsValues read = readSettingsValues(bytes);
    if (read.count != 3)
        return std::nullopt;
    return Settings{read.values[0], read.values[1], read.values[2]};
}

namespace {

void append(std::string& out, float value) {
    if (value == 0.0F)
        value = 0.0F;  // drops the sign of -0
    // Plain decimals where printf's %.7g would use them too, so that 2000000 is not "2e+06";
    // elsewhere the shorter of the two forms. Either way the fewest digits that read back.
    const float magnitude = std::fabs(value);
    const bool plain = value == 0.0F || (magnitude >= 1e-4F && magnitude < 1e7F);
    char text[32];  // room for the longest, "-0.000123456789" or "-1.17549435e-38"
    const auto result =
        plain ? std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed)
              : std::to_chars(std::begin(text), std::end(text), value);
    out.append(text, result.ptr);
}

}  // namespace

std::string writeSettings(float IniGauche, float IniHaut, float IniChiffres) {
    std::string line;
    append(line, IniGauche);
    line += ',';
    append(line, IniHaut);
    line += ',';
    append(line, IniChiffres);
    line += "\r\n";
    return line;
}

}  // namespace kelo
