// Clocks, delays and random numbers.
#pragma once
#include <cstdint>

namespace Orb::Time {

int64_t NowUnixSeconds();
int64_t MonotonicMilliseconds();
void Delay(int milliseconds);

}  // namespace Orb::Time

namespace Orb::Random {

// The engine's global generator; seeded from the clock and process id by Randomise.
void Randomise();
uint32_t Next();
// Uniform in [0, bound); bound must be positive.
uint32_t Below(uint32_t bound);

}  // namespace Orb::Random
