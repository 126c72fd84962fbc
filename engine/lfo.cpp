#include "engine/lfo.h"

#include <atomic>
#include <cmath>

namespace {

constexpr std::int32_t kRandomSeed = 1;
constexpr std::uint32_t kRandomMultiplier = 16807;
constexpr double kRandomScale = 4.6566129e-10;  // about 2^-31

// Instances render on different threads; the shared state advances with a
// compare-and-swap so that no draw is lost or torn, without a lock.
std::atomic<std::int32_t> gRandomState{kRandomSeed};

std::int32_t NextRandom() {
  std::int32_t state = gRandomState.load(std::memory_order_relaxed);
  std::int32_t next;
  do {
    next = static_cast<std::int32_t>(static_cast<std::uint32_t>(state) * kRandomMultiplier);
  } while (!gRandomState.compare_exchange_weak(state, next, std::memory_order_relaxed));
  return next;
}

}  // namespace

void Lfo::RestartRandomSequence() { gRandomState.store(kRandomSeed, std::memory_order_relaxed); }

void Lfo::Tick() {
  switch (mWave) {
    case kSquare:
      mOutput = mPhase < 0.0 ? 1.0 : -1.0;
      break;
    case kSampleAndHold:
      // The phase wrapped at the previous tick, or the LFO has just started.
      if (mPhase - mIncrement < -1.0) mHeldValue = NextRandom() * kRandomScale;
      mOutput = mHeldValue;
      break;
    default:
      mOutput = std::fabs(mPhase) * 2.0 - 1.0;
      break;
  }
  mPhase += mIncrement;
  if (mPhase >= 1.0) mPhase -= 2.0;
}
