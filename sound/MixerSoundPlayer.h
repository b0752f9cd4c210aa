// The sound play operation on SDL_mixer: one mixer channel, so a new sound cuts off the last one.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "SoundPlayer.h"

struct Mix_Chunk;

namespace kelo {

class MixerSoundPlayer final : public SoundPlayer {
  public:
    // Opens the audio device. It can take seconds with a sound server that does not answer, so
    // it never runs on the window's thread. Null when there is no device; `why` then says so.
    static std::unique_ptr<MixerSoundPlayer> open(std::string& why);
    ~MixerSoundPlayer() override;
    MixerSoundPlayer(const MixerSoundPlayer&) = delete;
    MixerSoundPlayer& operator=(const MixerSoundPlayer&) = delete;

    // Only stats the file, and decodes it the first time a version of it is played; the mixer
    // itself plays on its own thread, so a stalled server does not hold the caller.
    void play(std::string_view fileName, std::int32_t flags) override;

    // The longest a flags-0 request waits beyond the sound's own length.
    static constexpr std::chrono::milliseconds SyncMargin{250};

  private:
    struct Decoded {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        Mix_Chunk* chunk = nullptr;  // null when the file could not be decoded
    };

    MixerSoundPlayer(int rate, int bytesPerFrame);
    Mix_Chunk* lookUp(std::string_view fileName);
    Mix_Chunk* defaultSound();
    [[nodiscard]] std::chrono::milliseconds lengthOf(const Mix_Chunk& chunk) const;

    int bytesPerSecond_;
    std::map<std::filesystem::path, Decoded> files_;
    Mix_Chunk* fallback_ = nullptr;
};

}  // namespace kelo
