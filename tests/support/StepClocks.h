// Fake clocks for the exit pause: both move one step at each rest, and the time of day wraps at
// midnight as the real one does.
#pragma once

#include <chrono>
#include <cmath>
#include <functional>

#include "ExitPause.h"

namespace kelo::test {

struct StepClocks final : PauseClocks {
    double day;
    std::chrono::nanoseconds step;
    std::chrono::nanoseconds since{std::chrono::seconds(987654321)};
    int rests = 0;
    bool runaway = false;
    std::function<void()> onRest;

    StepClocks(double startOfDay, std::chrono::nanoseconds stepLength)
        : day(startOfDay), step(stepLength) {}

    double timeOfDay() override { return day; }
    std::chrono::nanoseconds monotonic() override { return since; }
    void rest() override {
        if (onRest)
            onRest();
        ++rests;
        // A pause that never ends is cut short and reported rather than hanging the test.
        if (rests > 100000) {
            runaway = true;
            since += std::chrono::hours(1);
        }
        since += step;
        day = std::fmod(day + std::chrono::duration<double>(step).count(), 86400.0);
    }
};

}  // namespace kelo::test
