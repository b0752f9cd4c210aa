// The pause between writing the settings and ending the process, long enough for the closing
// sound to be heard starting.
#pragma once

#include <chrono>

namespace kelo {

class PauseClocks {
  public:
    virtual ~PauseClocks() = default;
    // Local time in seconds since midnight, with a fraction; starts again from 0 at midnight.
    virtual double timeOfDay() = 0;
    // Never jumps or runs backwards, whatever happens to the time of day.
    virtual std::chrono::nanoseconds monotonic() = 0;
    // Between two readings; gives the processor back instead of spinning.
    virtual void rest() = 0;
};

class SystemClocks final : public PauseClocks {
  public:
    double timeOfDay() override;
    std::chrono::nanoseconds monotonic() override;
    void rest() override;
};

inline constexpr std::chrono::milliseconds ExitPauseLength{300};

// The times of day the exit pause read first and last.
struct PauseTimes {
    double TempsDebut = 0.0;
    double TempsLu = 0.0;
};

// Ends on the first monotonic reading more than ExitPauseLength after the start, so it lasts the
// same across midnight. Handles no window events. Ends at once when cut short, before it or while
// it runs.
PauseTimes exitPause(PauseClocks& clocks);

// Safe in a signal handler: the next exit pause, or the one running, ends at its next reading.
void cutExitPauseShort();

}  // namespace kelo
