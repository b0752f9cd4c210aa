// The exit pause and the real clocks behind it.
#include "ExitPause.h"

#include <QTime>
#include <thread>

namespace kelo {

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

void exitPause(GameState& state, PauseClocks& clocks) {
    const std::chrono::nanoseconds start = clocks.monotonic();
    state.TempsDebut = clocks.timeOfDay();
    state.TempsLu = state.TempsDebut;
    while (clocks.monotonic() - start <= ExitPauseLength) {
        clocks.rest();
        state.TempsLu = clocks.timeOfDay();
    }
}

}  // namespace kelo
