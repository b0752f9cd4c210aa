// The draw's generator: a Mersenne twister reseeded from the clock at every new game.
#include "RandomSource.h"

#include <chrono>

namespace kelo {

void ClockRandom::reseedFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32U)};
    engine_.seed(seed);
}

float ClockRandom::next() {
    // The top 24 bits scaled by 2^-24 fill a float's mantissa exactly, so the largest value is
    // 1 - 2^-24; std::generate_canonical<float> may round up to 1.0, which would draw a 10.
    return static_cast<float>(engine_() >> 8U) * 0x1.0p-24F;
}

}  // namespace kelo
