// The built-in default sound, a WAV file's bytes, played for a file that is missing or broken.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo {

extern const std::uint8_t DefaultSoundWav[];
extern const std::size_t DefaultSoundWavSize;

}  // namespace kelo
