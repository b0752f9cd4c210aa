// Plays 24 of the game's short sounds 400 ms apart into a private PulseAudio null sink and counts
// the bursts heard, then times requests while the server is stopped. Prints one line of figures.
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "HeardSound.h"
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    kelo::test::PulseServer server;
    if (!server.error.isEmpty()) {
        std::printf("sound: not measured (%s)\n", qPrintable(server.error));
        return 0;
    }
    QDir::setCurrent(QStringLiteral(KELO_SOUNDS_DIR));
    kelo::LazySoundPlayer player(KELO_SOUND_MODULE);
    const Clock::time_point opening = Clock::now();
    player.load();
    player.settled(std::chrono::seconds(30));
    const double openMs = msSince(opening);

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
    const std::size_t heard = kelo::test::bursts(recorder.stop()).size();

    server.pause();
    double stalled = 0;
    for (int i = 0; i < 24; ++i) {
        stalled = timed(player, i % 2 == 0 ? kelo::SoundButtonDown : kelo::SoundButtonUp, stalled);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    server.resume();
    std::printf(
        "sound: device open in %.0f ms off the window's thread; 24 requests, %zu heard; "
        "longest request %.2f ms, %.2f ms with the server stopped\n",
        openMs, heard, longest, stalled);
    return 0;
}
