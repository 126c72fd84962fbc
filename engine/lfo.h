// The engine's free-running LFO, shared by all voices and updated once per
// control tick. Phase in [-1, 1) advances by the increment per tick (2 * f /
// 1000 for a frequency f in Hz and 1 ms ticks). Output in -1..+1:
//   triangle  |phase| * 2 - 1;   square  +1 while phase < 0, else -1;
//   sample and hold  a new value from a Lehmer sequence of this LFO's own
//   (state = state * 16807 mod 2^32 as int32, value = state * 4.6566129e-10)
//   at every wrap of the phase. Its own, so that an instance sounds the same
//   whatever other instances in the process play.
// Notes never retrigger it and engine resets leave it running.
#pragma once

#include <cstdint>

class Lfo {
 public:
  enum Wave : int { kTriangle = 0, kSquare = 1, kSampleAndHold = 2 };

  void Tick();

  void SetWave(int wave) { mWave = wave; }
  void SetIncrement(double increment) { mIncrement = increment; }

  double Output() const { return mOutput; }
  const double* OutputSource() const { return &mOutput; }
  double Phase() const { return mPhase; }
  double Increment() const { return mIncrement; }

 private:
  double mOutput = 0.0;
  int mWave = kTriangle;
  double mPhase = -1.0;
  double mIncrement = 0.0;
  double mHeldValue = 0.0;
  std::int32_t mRandomState = 1;

  std::int32_t NextRandom();
};
