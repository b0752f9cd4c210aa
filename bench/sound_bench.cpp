// Plays 24 of the game's short sounds 400 ms apart into a private PulseAudio null sink and counts
// the bursts heard, times the first heard sample after a request, steady and after the device was
// left idle, then times requests while the server is stopped and with hostile files in place of a
// sound, and counts the libraries the module maps. Prints one line of figures.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "HeardSound.h"
#include "HostileSounds.h"
#include "LazySoundPlayer.h"
#include "Sounds.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The longest a request held the caller.
double timed(kelo::LazySoundPlayer& player, const char* file, double longest) {
    const Clock::time_point start = Clock::now();
    player.play(file, 1);
    return std::max(longest, msSince(start));
}

// The shared libraries mapped into this process.
std::set<std::string> mappedLibraries() {
    std::ifstream maps("/proc/self/maps");
    std::set<std::string> found;
    for (std::string line; std::getline(maps, line);)
        if (const auto at = line.find('/');
            at != std::string::npos && line.find(".so", at) != std::string::npos)
            found.insert(line.substr(at));
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // "pipewire DRIVER": PipeWire's server, through SDL's DRIVER (pulseaudio or pipewire).
    const bool pipewire = argc == 3 && std::string(argv[1]) == "pipewire";
    kelo::test::SoundServer server(pipewire ? kelo::test::SoundServer::PipeWire
                                            : kelo::test::SoundServer::PulseAudio);
    const std::string name = pipewire ? std::string("PipeWire, SDL's ") + argv[2] : "PulseAudio";
    if (!server.error.isEmpty()) {
        std::printf("sound on %s: not measured (%s)\n", name.c_str(), qPrintable(server.error));
        return 0;
    }
    if (pipewire) {
        qputenv("PULSE_SERVER", server.address.toUtf8());
        qputenv("PIPEWIRE_RUNTIME_DIR",
                server.env.value(QStringLiteral("XDG_RUNTIME_DIR")).toUtf8());
        qputenv("SDL_AUDIODRIVER", argv[2]);
    }
    QDir::setCurrent(QStringLiteral(KELO_SOUNDS_DIR));
    kelo::LazySoundPlayer player(KELO_SOUND_MODULE);
    const std::size_t librariesBefore = mappedLibraries().size();
    const Clock::time_point opening = Clock::now();
    player.load();
    player.settled(std::chrono::seconds(30));
    const double openMs = msSince(opening);
    const std::size_t libraries = mappedLibraries().size() - librariesBefore;

    kelo::test::Recorder recorder;
    recorder.start();
    double longest = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 24; ++i) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(400 * i));
        longest =
            timed(player, i % 2 == 0 ? kelo::SoundGuessTaken : kelo::SoundButtonDown, longest);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const std::vector<kelo::test::Burst> steady = kelo::test::bursts(recorder.stop());
    const std::size_t heard = steady.size();
    std::vector<double> delays;
    for (std::size_t i = 0; i < heard; ++i)
        delays.push_back(steady[i].startMs - 400.0 * static_cast<double>(i));
    std::sort(delays.begin(), delays.end());

    // The first sound after the device was left alone, the server's sink suspended: how much
    // later it is heard than its release 250 ms after it, which plays on the open device.
    std::string afterIdle;
    for (const int seconds : {15, 60}) {
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        kelo::test::Recorder idle;
        idle.start();
        player.play(kelo::SoundButtonDown, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        player.play(kelo::SoundGuessTaken, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        const std::vector<kelo::test::Burst> both = kelo::test::bursts(idle.stop());
        char text[64];
        std::snprintf(text, sizeof text, "%s %.0f ms after %d s", afterIdle.empty() ? "" : ",",
                      both.size() < 2 ? -1.0 : 250 - (both[1].startMs - both[0].startMs), seconds);
        afterIdle += text;
    }

    server.pause();
    double stalled = 0;
    for (int i = 0; i < 24; ++i) {
        stalled = timed(player, i % 2 == 0 ? kelo::SoundButtonDown : kelo::SoundButtonUp, stalled);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    server.resume();

    // Each hostile file twice: the first request and one for a file already seen.
    QTemporaryDir hostile;
    QDir::setCurrent(hostile.path());
    double hostileLongest = 0;
    for (const kelo::test::HostileSound& sound : kelo::test::hostileSounds()) {
        QFile file(QStringLiteral("Kelo1.wav"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(sound.bytes) != sound.bytes.size())
            return 1;
        file.close();
        for (int i = 0; i < 2; ++i) {
            hostileLongest = timed(player, kelo::SoundButtonDown, hostileLongest);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    }
    std::printf(
        "sound on %s: module maps %zu libraries; SDL's audio started in %.0f ms off the window's "
        "thread; "
        "24 requests, %zu heard, their delays spread over %.0f ms; the first sound after idle "
        "heard "
        "later than one on the open device by%s; longest request %.2f ms, %.2f ms with the server "
        "stopped, "
        "%.2f ms with hostile files; peak RSS %.1f MB\n",
        name.c_str(), libraries, openMs, heard,
        delays.empty() ? -1.0 : delays.back() - delays.front(), afterIdle.c_str(), longest, stalled,
        hostileLongest, kelo::test::peakRssMb());
    return 0;
}
