// The sound play operation: a bare WAV file name, looked up in the working directory, and the
// flags word (1: start and return at once, cutting off the sound in play; 0: return at its end).
#pragma once

#include <cstdint>
#include <string_view>

namespace kelo {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Nothing is reported back: a sound that cannot be played gives the default sound or silence.
    virtual void play(std::string_view fileName, std::int32_t flags) = 0;
};

}  // namespace kelo
