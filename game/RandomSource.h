// The draw's random numbers: reseeded from the clock at every new game, values in [0, 1).
#pragma once

#include <cstdint>
#include <random>

namespace kelo {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void reseedFromClock() = 0;
    // Strictly below 1, so that truncating r x 10 always gives a digit 0..9.
    virtual float next() = 0;
};

class ClockRandom final : public RandomSource {
  public:
    void reseedFromClock() override;
    float next() override;

  private:
    std::mt19937 engine_;
};

}  // namespace kelo
