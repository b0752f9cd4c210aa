// The sound play operation on SDL's own audio: one device fed from SDL's queue, so a new sound
// replaces what is queued and cuts off the last one. Files are read, checked and converted on a
// thread of the player's own, which opens the device for a request, closes it once nothing has
// played for a while, and opens it again when it was lost.
#pragma once

#include <SDL_audio.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "SoundPlayer.h"

namespace kelo {

class SdlSoundPlayer final : public SoundPlayer {
  public:
    // Starts SDL's audio. It can take seconds with a sound server that does not answer, so it
    // never runs on the window's thread. Null only for a driver that cannot play (`why` says
    // which): with no server yet, each request looks for one again.
    static std::unique_ptr<SdlSoundPlayer> open(std::string& why);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    // With flags 1 only hands the request to the player's thread; with flags 0 also waits for
    // the sound's end.
    void play(std::string_view fileName, std::int32_t flags) override;

    // The longest a flags-0 request waits beyond the sound's own length, and the time after
    // which a sound still not played out means the device is lost.
    static constexpr std::chrono::milliseconds SyncMargin{250};
    // Longer sounds, or bigger files, play the default sound: no game's sound comes near.
    static constexpr std::chrono::seconds LongestSound{30};
    static constexpr std::uintmax_t LargestSoundFile = 32U << 20U;

  private:
    using Clock = std::chrono::steady_clock;
    using Samples = std::vector<std::uint8_t>;  // in the device's format
    struct Request {
        std::filesystem::path path;  // empty for a name that cannot be a file
        std::uint64_t number = 0;
    };
    struct Decoded {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        std::optional<Samples> samples;  // none when the file is not a sound to play
    };

    explicit SdlSoundPlayer(bool driverUp);
    bool openDevice();
    bool ensureDevice();
    void closeDevice();
    void idleClose();
    void restartDriver();
    void run();
    void start(const Request& request);
    void look();
    [[nodiscard]] Clock::time_point nextLook() const;
    const Samples& lookUp(const std::filesystem::path& path);
    std::optional<Samples> decode(const Samples& file) const;
    void queue(const Samples& samples);
    [[nodiscard]] Clock::duration lengthOf(std::size_t bytes) const;

    // The player's thread's own.
    std::string driver_;  // the one a device was opened with; until then whichever answers
    bool driverUp_;
    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec deviceFormat_{};  // what every device is opened with, whatever the server's
    Clock::time_point opened_;
    Clock::time_point restarted_;   // the driver's last start by this player
    Clock::time_point progressed_;  // when the device last took queued bytes
    Clock::time_point quietSince_;  // when the device last ran out of queued bytes
    Uint32 lastQueued_ = 0;
    Samples playing_;  // the last sound queued: played again on a new device if none was taken
    bool toldNoDevice_ = false;
    std::map<std::filesystem::path, Decoded> files_;
    Samples fallback_;

    // Shared with the callers, under mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;     // a request, or the end
    std::condition_variable started_;  // a request handled
    std::optional<Request> pending_;   // only the newest: it would cut off any earlier one
    std::uint64_t requested_ = 0;
    std::uint64_t handled_ = 0;
    Clock::duration handledLength_{};  // zero when nothing was queued
    bool drained_ = false;             // the last sound queued has been taken by the device
    bool stop_ = false;
    std::thread worker_;
};

}  // namespace kelo
