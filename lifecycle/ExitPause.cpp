// The exit pause and the real clocks behind it.
#include "ExitPause.h"

#include <QTime>
#include <csignal>
#include <thread>

namespace kelo {
namespace {

volatile std::sig_atomic_t cutShort = 0;

}  // namespace

double SystemClocks::timeOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::chrono::nanoseconds SystemClocks::monotonic() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClocks::rest() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

PauseTimes exitPause(PauseClocks& clocks) {
    const std::chrono::nanoseconds start = clocks.monotonic();
    PauseTimes times;
    times.TempsDebut = clocks.timeOfDay();
    times.TempsLu = times.TempsDebut;
    while (cutShort == 0 && clocks.monotonic() - start <= ExitPauseLength) {
        clocks.rest();
        times.TempsLu = clocks.timeOfDay();
    }
    cutShort = 0;
    return times;
}

void cutExitPauseShort() {
    cutShort = 1;
}

}  // namespace kelo
