// The program's sound player: loads the sound module and starts the audio on a worker thread;
// the newest request made until then plays once it is done.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "SoundPlayer.h"

namespace kelo {

// The module's file name; it is installed beside the program.
inline constexpr const char* SoundModuleName = "zandor-chiffres-sound.so";

class LazySoundPlayer final : public SoundPlayer {
  public:
    // Names the program to the sound server, while the process has one thread.
    explicit LazySoundPlayer(std::string modulePath);
    // Waits for the worker, which a sound server that never answers can hold for its time-out.
    ~LazySoundPlayer() override;
    LazySoundPlayer(const LazySoundPlayer&) = delete;
    LazySoundPlayer& operator=(const LazySoundPlayer&) = delete;

    // Starts the worker and returns at once; later calls do nothing. No module leaves every
    // request silent, with one line on the console.
    void load();
    // Whether the worker has finished, with a device or without, waiting up to `limit`.
    bool settled(std::chrono::milliseconds limit = {}) const;
    [[nodiscard]] bool ready() const { return player_.load(std::memory_order_acquire) != nullptr; }

    // From one thread only, the window's.
    void play(std::string_view fileName, std::int32_t flags) override;

  private:
    void open();

    std::string modulePath_;
    std::thread worker_;
    std::unique_ptr<SoundPlayer> owned_;         // written by the worker before player_ is set
    std::atomic<SoundPlayer*> player_{nullptr};  // set once the waiting request is handed over
    std::mutex mutex_;                           // for the hand-over, held only for it
    std::optional<std::string> waiting_;         // the newest request before player_ is set
    std::atomic<bool> settled_{false};
};

}  // namespace kelo
