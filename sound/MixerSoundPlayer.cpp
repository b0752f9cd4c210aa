// Plays the game's sounds through SDL_mixer on whatever server SDL finds (PulseAudio, PipeWire,
// ALSA), without SDL's video.
#include "MixerSoundPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <thread>

#include "DefaultSound.h"

namespace kelo {
namespace {

constexpr const char* AppName = "Zandor Chiffres";
// A sound file is decoded on the window's thread; a bigger one plays the default sound instead
// of freezing the window while it is read.
constexpr std::uintmax_t LargestSoundFile = 32U << 20U;

// Without a sound server SDL falls back to ALSA, whose library writes several lines about
// missing cards on the console; the one line about silent sounds says all the player needs.
void quietAlsa(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
               const char* /*fmt*/, ...) {}

}  // namespace

std::unique_ptr<MixerSoundPlayer> MixerSoundPlayer::open(std::string& why) {
    snd_lib_error_set_handler(quietAlsa);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, AppName);
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, AppName);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
        return nullptr;
    }
    // Picked only when named in SDL_AUDIODRIVER: "disk" would write a file in the working folder.
    const char* driver = SDL_GetCurrentAudioDriver();
    const std::string_view name = driver != nullptr ? driver : "";
    if (name == "disk" || name == "dummy") {
        why = "no sound device (SDL audio driver \"" + std::string(name) + "\")";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    // 1024 frames: about 23 ms from a request to the speaker, and as much slack for the mixer's
    // thread on a busy machine before a sound breaks up.
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        why = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_AllocateChannels(1);
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    return std::unique_ptr<MixerSoundPlayer>(
        new MixerSoundPlayer(rate, channels * static_cast<int>(SDL_AUDIO_BITSIZE(format)) / 8));
}

MixerSoundPlayer::MixerSoundPlayer(int rate, int bytesPerFrame)
    : bytesPerSecond_(std::max(1, rate * bytesPerFrame)) {}

MixerSoundPlayer::~MixerSoundPlayer() {
    Mix_HaltChannel(-1);
    for (auto& [path, decoded] : files_)
        Mix_FreeChunk(decoded.chunk);
    Mix_FreeChunk(fallback_);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
}

void MixerSoundPlayer::play(std::string_view fileName, std::int32_t flags) {
    Mix_Chunk* chunk = lookUp(fileName);
    if (chunk == nullptr)
        chunk = defaultSound();
    if (chunk == nullptr || Mix_PlayChannel(0, chunk, 0) < 0 || (flags & 1) != 0)
        return;
    // Mix_Playing turns 0 once the mixer has taken the last bytes, which is not yet the end that
    // is heard, and never if the server stalls: so the sound's length at least, the margin at most.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const std::chrono::milliseconds length = lengthOf(*chunk);
    while (Clock::now() - start < length + SyncMargin) {
        if (Clock::now() - start >= length && Mix_Playing(0) == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

Mix_Chunk* MixerSoundPlayer::lookUp(std::string_view fileName) {
    namespace fs = std::filesystem;
    if (fileName.empty())
        return nullptr;
    std::error_code error;
    const fs::path path = fs::absolute(fs::path(std::string(fileName)), error);
    if (error || !fs::is_regular_file(path, error))
        return nullptr;
    const fs::file_time_type modified = fs::last_write_time(path, error);
    if (error)
        return nullptr;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > LargestSoundFile)
        return nullptr;
    auto found = files_.find(path);
    if (found != files_.end() && found->second.modified == modified && found->second.size == size)
        return found->second.chunk;
    if (found != files_.end())
        Mix_FreeChunk(found->second.chunk);  // stops it first if it is playing
    Decoded& entry = files_[path];
    entry = {modified, size, Mix_LoadWAV(path.c_str())};
    return entry.chunk;
}

Mix_Chunk* MixerSoundPlayer::defaultSound() {
    if (fallback_ == nullptr)
        fallback_ = Mix_LoadWAV_RW(
            SDL_RWFromConstMem(DefaultSoundWav, static_cast<int>(DefaultSoundWavSize)), 1);
    return fallback_;
}

std::chrono::milliseconds MixerSoundPlayer::lengthOf(const Mix_Chunk& chunk) const {
    return std::chrono::milliseconds(std::uint64_t{chunk.alen} * 1000U /
                                     static_cast<std::uint64_t>(bytesPerSecond_));
}

}  // namespace kelo
