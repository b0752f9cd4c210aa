// A mono PCM WAV file's bytes, written one way for the sound generator and the tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// Samples in [-1, 1] at `rate` Hz as 16-bit signed or 8-bit unsigned PCM; `declared`, when not 0,
// stands in the header for the data chunk's true size.
inline std::string wavFile(const std::vector<double>& samples, int rate, int bits = 16,
                           std::uint32_t declared = 0) {
    const auto put = [](std::string& out, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xffU);
    };
    std::string data;
    for (const double v : samples) {
        if (bits == 16)
            put(data,
                static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767.0))), 2);
        else
            put(data, static_cast<std::uint32_t>(128 + std::lround(v * 127.0)), 1);
    }
    const auto width = static_cast<std::uint32_t>(bits / 8);
    const std::uint32_t size = declared != 0 ? declared : static_cast<std::uint32_t>(data.size());
    std::string out = "RIFF";
    put(out, 36 + size, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, 1, 2);  // PCM
    put(out, 1, 2);  // mono
    put(out, static_cast<std::uint32_t>(rate), 4);
    put(out, static_cast<std::uint32_t>(rate) * width, 4);
    put(out, width, 2);
    put(out, static_cast<std::uint32_t>(bits), 2);
    out += "data";
    put(out, size, 4);
    return out + data;
}

}  // namespace kelo
