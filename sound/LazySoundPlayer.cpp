// Loading the sound module and opening the device off the window's thread.
#include "LazySoundPlayer.h"

#include <dlfcn.h>

#include <cstdio>
#include <utility>

namespace kelo {

LazySoundPlayer::LazySoundPlayer(std::string modulePath) : modulePath_(std::move(modulePath)) {}

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
    if (SoundPlayer* player = player_.load(std::memory_order_acquire))
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
        player_.store(owned_.get(), std::memory_order_release);
    }
    settled_.store(true, std::memory_order_release);
}

}  // namespace kelo
