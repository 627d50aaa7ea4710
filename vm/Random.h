// The application's one random generator.
#pragma once

#include <cstdint>

// The seed. Set once at start-up from the milliseconds since midnight (UTC); a host may set it
// before a run for reproducible runs. Successive runs continue the same sequence.
extern std::uint32_t RandSeed;

// Milliseconds since midnight UTC of the system clock.
std::uint32_t SeedFromClock();

// Advances the seed (S := S * 134775813 + 1) and answers the high 32 bits of S * m, both taken
// as unsigned 32-bit numbers: 0..m-1 for m > 0, 0 for m = 0.
inline std::uint32_t NextRandom(std::uint32_t m) {
  RandSeed = RandSeed * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(RandSeed) * m) >> 32);
}
