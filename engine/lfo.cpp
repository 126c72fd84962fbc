#include "engine/lfo.h"

#include <cmath>

namespace {

constexpr std::uint32_t kRandomMultiplier = 16807;
constexpr double kRandomScale = 4.6566129e-10;  // about 2^-31

}  // namespace

std::int32_t Lfo::NextRandom() {
  mRandomState = static_cast<std::int32_t>(static_cast<std::uint32_t>(mRandomState) * kRandomMultiplier);
  return mRandomState;
}

void Lfo::Tick() {
  switch (mWave) {
    case kSquare: mOutput = mPhase < 0.0 ? 1.0 : -1.0; break;
    case kSampleAndHold:
      // The phase wrapped at the previous tick, or the LFO has just started.
      if (mPhase - mIncrement < -1.0) mHeldValue = NextRandom() * kRandomScale;
      mOutput = mHeldValue;
      break;
    default: mOutput = std::fabs(mPhase) * 2.0 - 1.0; break;
  }
  mPhase += mIncrement;
  if (mPhase >= 1.0) mPhase -= 2.0;
}
