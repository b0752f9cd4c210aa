// Loading the sound module and opening the device off the window's thread.
#include "LazySoundPlayer.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kelo {

// Volume mixers name and show a stream by these; a player's own PULSE_PROP is left as it is.
// Read by the sound server's library when SDL connects (PulseAudio's and PipeWire's).
LazySoundPlayer::LazySoundPlayer(std::string modulePath) : modulePath_(std::move(modulePath)) {
    const char* props =
        "media.role=game application.id=" KELO_APP_ID " application.icon_name=" KELO_ICON_NAME;
    ::setenv("PULSE_PROP", props, 0);
    ::setenv("PIPEWIRE_PROPS", props, 0);
}

LazySoundPlayer::~LazySoundPlayer() {
    if (worker_.joinable())
        worker_.join();
}

void LazySoundPlayer::load() {
    if (!worker_.joinable() && !settled_.load())
        worker_ = std::thread([this] { open(); });
}

bool LazySoundPlayer::settled(std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!settled_.load(std::memory_order_acquire)) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void LazySoundPlayer::play(std::string_view fileName, std::int32_t flags) {
    load();
    SoundPlayer* player = player_.load(std::memory_order_acquire);
    if (player == nullptr) {
        const std::lock_guard lock(mutex_);
        player = player_.load(std::memory_order_acquire);
        if (player == nullptr) {  // it plays once the device is ready, without waiting here
            if (!settled_.load(std::memory_order_acquire))
                waiting_.emplace(fileName);
            return;
        }
    }
    player->play(fileName, flags);
}

// The module stays loaded for the rest of the run: its player and SDL's threads live in it.
void LazySoundPlayer::open() {
    void* module = dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    using Open = SoundPlayer* (*)();
    const auto openPlayer = module != nullptr
                                ? reinterpret_cast<Open>(dlsym(module, "kelo_open_sound_player"))
                                : nullptr;
    if (openPlayer == nullptr) {
        const char* why = dlerror();
        std::fprintf(stderr, "The game's sounds are off: %s\n", why != nullptr ? why : "no module");
    } else {
        owned_.reset(openPlayer());
    }
    // Handed over before any later request can reach the player, so it cannot cut one off.
    const std::lock_guard lock(mutex_);
    if (owned_ != nullptr && waiting_)
        owned_->play(*waiting_, 1);
    waiting_.reset();
    player_.store(owned_.get(), std::memory_order_release);
    settled_.store(true, std::memory_order_release);
}

}  // namespace kelo
