// The SDL player as a module that the program loads on a worker thread once its first game is on
// the screen: SDL and the sound server's libraries stay out of the start-up.
#include <cstdio>
#include <string>

#include "SdlSoundPlayer.h"

extern "C" __attribute__((visibility("default"))) kelo::SoundPlayer* kelo_open_sound_player() {
    std::string why;
    std::unique_ptr<kelo::SdlSoundPlayer> player = kelo::SdlSoundPlayer::open(why);
    if (player == nullptr) {
        std::fprintf(stderr, "The game's sounds are off (%s)\n", why.c_str());
        return nullptr;
    }
    return player.release();
}
