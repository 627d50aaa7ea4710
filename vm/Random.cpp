#include "Random.h"

#include <chrono>

std::uint32_t SeedFromClock() {
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<std::uint32_t>(now % (24LL * 60 * 60 * 1000));
}

std::uint32_t RandSeed = SeedFromClock();
