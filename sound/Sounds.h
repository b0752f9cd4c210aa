// The named sounds of the game, each one request to the sound play operation.
#pragma once

#include <cstdint>

#include "SoundPlayer.h"

namespace kelo {

inline constexpr const char* SoundButtonDown = "Kelo1.wav";
inline constexpr const char* SoundButtonUp = "Kelo2.wav";
inline constexpr const char* SoundGuessTaken = "Kelo3.wav";
inline constexpr const char* SoundWon = "Kelo4.wav";
inline constexpr const char* SoundCodeShown = "Kelo5.wav";
inline constexpr const char* SoundClosing = "Kelo6.wav";

inline void Tic(SoundPlayer& player, std::int32_t SonFlags) {
    player.play(SoundButtonDown, SonFlags);
}
inline void Toc(SoundPlayer& player, std::int32_t SonFlags) {
    player.play(SoundButtonUp, SonFlags);
}
inline void Ding(SoundPlayer& player, std::int32_t SonFlags) {
    player.play(SoundWon, SonFlags);
}
inline void Pff(SoundPlayer& player, std::int32_t SonFlags) {
    player.play(SoundCodeShown, SonFlags);
}

}  // namespace kelo
