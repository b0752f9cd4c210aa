// Plays the game's sounds through SDL's audio alone on whatever server SDL finds (PulseAudio,
// PipeWire, ALSA), without SDL's video.
#include "SdlSoundPlayer.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "DefaultSound.h"

namespace kelo {
namespace {

constexpr const char* AppName = "Zandor Chiffres";
// How often the player's thread looks at the device while it has something to play.
constexpr std::chrono::milliseconds Tick{50};
// A device that cannot be opened is tried again, with SDL's driver started anew, on a request at
// most this often.
constexpr std::chrono::seconds Reopen{1};
// A new stream can take its first bytes and then nothing more for a second or two; until this
// long after the open, only a longer wait means the device is lost.
constexpr std::chrono::seconds FirstSound{3};
// With nothing to play for this long the device is closed, so that the server can suspend its
// sink and no one shows the game as playing; the player's thread then sleeps until a request.
constexpr std::chrono::seconds IdleClose{2};

// Without a sound server SDL falls back to ALSA, whose library writes several lines about
// missing cards on the console; the one line about silent sounds says all the player needs.
void quietAlsa(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
               const char* /*fmt*/, ...) {}

std::uint32_t le32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8U | std::uint32_t{at[2]} << 16U |
           std::uint32_t{at[3]} << 24U;
}

void putLe32(std::uint8_t* at, std::uint64_t value) {
    for (unsigned i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8U * i));
}

// A regular file's bytes, or none when it is something else or too big; opened without waiting,
// so a pipe or a device put in a sound's place cannot hold the player's thread.
std::optional<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::vector<std::uint8_t>> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
        static_cast<std::uintmax_t>(info.st_size) <= SdlSoundPlayer::LargestSoundFile) {
        bytes.emplace(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        for (ssize_t n = 1; got < bytes->size() && n > 0; got += static_cast<std::size_t>(n))
            n = std::max<ssize_t>(0, ::read(fd, bytes->data() + got, bytes->size() - got));
        bytes->resize(got);
    }
    ::close(fd);
    return bytes;
}

// Checks that the bytes are a RIFF/WAVE file whose data would last no longer than the longest
// sound, before SDL's loader sees them, and makes the data chunk's size no more than what the file
// holds: SDL reserves the size a header claims, which can be gigabytes.
bool checkWave(std::vector<std::uint8_t>& file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        return false;
    putLe32(file.data() + 4, file.size() - 8);
    std::uint64_t bytesPerSecond = 0;
    for (std::uint64_t at = 12; at + 8 <= file.size();) {
        std::uint8_t* chunk = file.data() + at;
        const std::uint64_t body = at + 8;
        const std::uint64_t size = std::min<std::uint64_t>(le32(chunk + 4), file.size() - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16)
            bytesPerSecond = le32(chunk + 16);
        if (std::memcmp(chunk, "data", 4) == 0) {
            putLe32(chunk + 4, size);
            return bytesPerSecond != 0 &&
                   size <= bytesPerSecond * SdlSoundPlayer::LongestSound.count();
        }
        at = body + size + (size & 1U);
    }
    return false;
}

}  // namespace

std::unique_ptr<SdlSoundPlayer> SdlSoundPlayer::open(std::string& why) {
    snd_lib_error_set_handler(quietAlsa);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, AppName);
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, AppName);
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
    const bool up = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    // Picked only when named in SDL_AUDIODRIVER: "disk" would write a file in the working folder.
    const char* driver = up ? SDL_GetCurrentAudioDriver() : nullptr;
    const std::string name = driver != nullptr ? driver : "";
    if (name == "disk" || name == "dummy") {
        why = "SDL audio driver \"" + name + "\"";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    std::unique_ptr<SdlSoundPlayer> player(new SdlSoundPlayer(up));
    player->worker_ = std::thread([p = player.get()] { p->run(); });
    return player;
}

SdlSoundPlayer::SdlSoundPlayer(bool driverUp) : driverUp_(driverUp) {
    // 1024 frames: about 23 ms from a request to the speaker, and as much slack for SDL's
    // thread on a busy machine before a sound breaks up. SDL converts to the server's format.
    deviceFormat_.freq = 44100;
    deviceFormat_.format = AUDIO_S16SYS;
    deviceFormat_.channels = 2;
    deviceFormat_.samples = 1024;
}

SdlSoundPlayer::~SdlSoundPlayer() {
    if (worker_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        worker_.join();
    }
    closeDevice();
    SDL_AudioQuit();  // started by this player when it restarted the driver
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
}

void SdlSoundPlayer::play(std::string_view fileName, std::int32_t flags) {
    // Only the working folder is read here: the file itself is the player's thread's business.
    std::error_code error;
    std::filesystem::path path;
    if (!fileName.empty())
        path = std::filesystem::absolute(std::filesystem::path(fileName), error);
    std::unique_lock lock(mutex_);
    const std::uint64_t number = ++requested_;
    pending_ = Request{error ? std::filesystem::path() : std::move(path), number};
    lock.unlock();
    wake_.notify_one();
    if ((flags & 1) != 0)
        return;
    // The device takes the last bytes a little before they are heard, and never if the server
    // stalls: so the sound's length at least, the margin at most.
    lock.lock();
    if (!started_.wait_for(lock, std::chrono::seconds(2), [&] { return handled_ >= number; }) ||
        handled_ != number || handledLength_ == Clock::duration::zero())
        return;
    const Clock::time_point end = Clock::now() + handledLength_;
    lock.unlock();
    std::this_thread::sleep_until(end);
    lock.lock();
    started_.wait_until(lock, end + SyncMargin, [&] { return drained_ || requested_ != number; });
}

bool SdlSoundPlayer::openDevice() {
    closeDevice();
    SDL_AudioSpec wanted = deviceFormat_;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device_ == 0)
        return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    driver_ = driver != nullptr ? driver : "";
    SDL_PauseAudioDevice(device_, 0);
    opened_ = progressed_ = quietSince_ = Clock::now();
    lastQueued_ = 0;
    return true;
}

// The device a request plays on: the open one unless SDL saw it go, or a new one. One that
// cannot be opened starts SDL's driver again, which drops a connection to a server that went and
// finds one that came since; at most once a second, so no server costs little.
bool SdlSoundPlayer::ensureDevice() {
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED)
        return true;
    if (driverUp_ && openDevice())
        return true;
    const Clock::time_point now = Clock::now();
    if (now - restarted_ >= Reopen) {
        restarted_ = now;
        restartDriver();
        if (driverUp_ && openDevice())
            return true;
    }
    // Nothing of SDL's runs while no device opens: its ALSA driver looks for cards ten times a
    // second.
    SDL_AudioQuit();
    driverUp_ = false;
    if (!toldNoDevice_)
        std::fprintf(stderr,
                     "No sound server or sound device answers; the game's sounds play once "
                     "one does (%s)\n",
                     SDL_GetError());
    toldNoDevice_ = true;
    return false;
}

// SDL's ALSA driver keeps looking for cards ten times a second, so it stops too; the servers'
// drivers wait for the server's news, and stay ready for the next sound.
void SdlSoundPlayer::idleClose() {
    closeDevice();
    if (driver_ == "alsa") {
        SDL_AudioQuit();
        driverUp_ = false;
    }
}

void SdlSoundPlayer::closeDevice() {
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
}

// The same driver as the last device's, so a restarting server does not leave the game on the
// sound card behind its back.
void SdlSoundPlayer::restartDriver() {
    closeDevice();
    SDL_AudioQuit();
    driverUp_ = SDL_AudioInit(driver_.empty() ? nullptr : driver_.c_str()) == 0;
}

// Idle with the device closed, the thread waits for a request and nothing else.
void SdlSoundPlayer::run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!pending_ && device_ == 0)
            wake_.wait(lock);
        else if (!pending_)
            wake_.wait_until(lock, nextLook());
        const std::optional<Request> request = std::exchange(pending_, std::nullopt);
        if (stop_)
            break;
        lock.unlock();
        if (request)
            start(*request);
        else
            look();
        lock.lock();
    }
}

SdlSoundPlayer::Clock::time_point SdlSoundPlayer::nextLook() const {
    return lastQueued_ > 0 ? Clock::now() + Tick : quietSince_ + IdleClose;
}

void SdlSoundPlayer::start(const Request& request) {
    const Samples& samples = request.path.empty() ? lookUp({}) : lookUp(request.path);
    const Samples& sound = samples.empty() ? lookUp({}) : samples;
    std::unique_lock lock(mutex_);
    // One asked for while this one was read would cut it off at once.
    const bool cut = pending_.has_value();
    lock.unlock();
    const bool play = !cut && !sound.empty() && ensureDevice();
    if (play)
        queue(sound);
    lock.lock();
    handled_ = request.number;
    handledLength_ = play ? lengthOf(sound.size()) : Clock::duration::zero();
    drained_ = false;
    lock.unlock();
    started_.notify_all();
}

void SdlSoundPlayer::queue(const Samples& samples) {
    SDL_ClearQueuedAudio(device_);
    SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size()));
    playing_ = samples;
    lastQueued_ = static_cast<Uint32>(samples.size());
    progressed_ = Clock::now();
}

// While a sound plays: its end, for a caller that waits for it, and a device that stopped taking
// bytes, which is lost. A sound it took nothing of plays on a new one.
void SdlSoundPlayer::look() {
    if (device_ == 0)
        return;
    const Clock::time_point now = Clock::now();
    const Uint32 queued = SDL_GetQueuedAudioSize(device_);
    if (queued == 0) {
        if (lastQueued_ != 0)
            quietSince_ = now;
        lastQueued_ = 0;
        {
            const std::lock_guard lock(mutex_);
            drained_ = true;
        }
        started_.notify_all();
        if (now - quietSince_ >= IdleClose)
            idleClose();
        return;
    }
    if (queued < lastQueued_)
        progressed_ = now;
    lastQueued_ = queued;
    if (SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED &&
        now <= std::max(progressed_ + SyncMargin, opened_ + FirstSound))
        return;
    const Samples again = queued >= playing_.size() ? std::move(playing_) : Samples();
    closeDevice();
    if (!again.empty() && ensureDevice())
        queue(again);
}

const SdlSoundPlayer::Samples& SdlSoundPlayer::lookUp(const std::filesystem::path& path) {
    static const Samples none;
    if (path.empty()) {
        if (fallback_.empty()) {
            Samples wav(DefaultSoundWav, DefaultSoundWav + DefaultSoundWavSize);
            if (checkWave(wav))
                fallback_ = decode(wav).value_or(Samples());
        }
        return fallback_;
    }
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_time_type modified = fs::last_write_time(path, error);
    const std::uintmax_t size = error ? 0 : fs::file_size(path, error);
    if (error)
        return none;
    auto found = files_.find(path);
    if (found == files_.end() || found->second.modified != modified || found->second.size != size) {
        std::optional<Samples> file = readFile(path);
        found = files_
                    .insert_or_assign(
                        path, Decoded{modified, size,
                                      file && checkWave(*file) ? decode(*file) : std::nullopt})
                    .first;
    }
    return found->second.samples ? *found->second.samples : none;
}

// SDL's loader, then its conversion to the device's format; none for what it cannot read or
// what would last too long.
std::optional<SdlSoundPlayer::Samples> SdlSoundPlayer::decode(const Samples& file) const {
    SDL_AudioSpec fileFormat{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1,
                       &fileFormat, &data, &length) == nullptr)
        return std::nullopt;
    const std::uint64_t frameBytes =
        std::uint64_t{fileFormat.channels} * SDL_AUDIO_BITSIZE(fileFormat.format) / 8U;
    std::optional<Samples> out;
    SDL_AudioCVT cvt{};
    if (frameBytes != 0 && fileFormat.freq > 0 &&
        length <= frameBytes * static_cast<std::uint64_t>(fileFormat.freq) *
                      static_cast<std::uint64_t>(LongestSound.count()) &&
        SDL_BuildAudioCVT(&cvt, fileFormat.format, fileFormat.channels, fileFormat.freq,
                          deviceFormat_.format, deviceFormat_.channels, deviceFormat_.freq) >= 0) {
        cvt.len = static_cast<int>(length);
        out.emplace(static_cast<std::size_t>(length) *
                    static_cast<std::size_t>(std::max(1, cvt.len_mult)));
        std::memcpy(out->data(), data, length);
        cvt.buf = out->data();
        if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0)
            out->resize(cvt.needed == 0 ? length : static_cast<std::size_t>(cvt.len_cvt));
        else
            out.reset();
    }
    SDL_FreeWAV(data);
    if (out)
        out->resize(out->size() / (std::size_t{deviceFormat_.channels} * 2U) *
                    deviceFormat_.channels * 2U);
    return out;
}

SdlSoundPlayer::Clock::duration SdlSoundPlayer::lengthOf(std::size_t bytes) const {
    const auto perSecond = static_cast<std::uint64_t>(deviceFormat_.freq) * deviceFormat_.channels *
                           SDL_AUDIO_BITSIZE(deviceFormat_.format) / 8U;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(
        bytes * std::uint64_t{1000000} / std::max<std::uint64_t>(1, perSecond)));
}

}  // namespace kelo
