// The chaos host's source of choices. Its own arithmetic on a 64-bit
// Mersenne twister, not the standard distributions, whose results differ
// between C++ libraries: a seed replays the same run on Linux and Windows.
#pragma once

#include <cstdint>
#include <random>

class ChaosRandom {
 public:
  explicit ChaosRandom(std::uint64_t seed) : engine_(seed) {}

  std::uint64_t Next() { return engine_(); }
  // 0 .. count-1 (count > 0).
  int Below(int count) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(count)); }
  // low .. high, both included.
  int Between(int low, int high) { return low + Below(high - low + 1); }
  // True `perMille` times in a thousand.
  bool Chance(int perMille) { return Below(1000) < perMille; }
  // [0, 1) in steps of 2^-24.
  float Unit() { return static_cast<float>(engine_() >> 40) / 16777216.0f; }
  template <typename T, int N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }

 private:
  std::mt19937_64 engine_;
};
