#include "engine/chorus.h"

#include <algorithm>

#include "engine/repeated_addition.h"

namespace {

constexpr double kConstructionRate = 1.0;
constexpr double kLineSeconds = 0.016;
constexpr double kSweepSeconds = 0.016;
constexpr double kMinimumDelaySeconds = 0.001;
constexpr double kGlidePerTick = 999.0;  // 0.999 of the distance in one 1 ms tick
constexpr double kTapLevel = 0.33;

}  // namespace

Chorus::Chorus() { Reset(kConstructionRate); }

void Chorus::Reset(double sampleRate) {
  if (sampleRate != mSampleRate) {
    mSampleRate = sampleRate;
    mGlideFactor = kGlidePerTick / sampleRate;
    mLineLength = static_cast<int>(sampleRate * kLineSeconds + 1);
    mLine.assign(static_cast<std::size_t>(mLineLength), 0.0);
  }
  std::fill(mLine.begin(), mLine.end(), 0.0);
  mZerosInLine = mLineLength;
  mWrite = 0;
  for (int k = 0; k < kTapCount; ++k) {
    mDelay[k] = 0.0;
    mDelayStep[k] = 0.0;
  }
  mDepth = 0.0;
}

// The taps written out one by one keep the LFO outputs in registers.
void Chorus::Tick() {
  const ChorusLfo::Outputs a = mLfoA.Tick();
  const ChorusLfo::Outputs b = mLfoB.Tick();
  mDelayStep[0] = GlideStep(a.o[0] + b.o[0], mDelay[0]);
  mDelayStep[1] = GlideStep(a.o[1] + b.o[1], mDelay[1]);
  mDelayStep[2] = GlideStep(a.o[2] + b.o[2], mDelay[2]);
}

double Chorus::GlideStep(double lfoSum, double delay) const {
  // std::clamp's order of comparisons, as a maximum and a minimum.
  const double sweep = std::min(std::max(lfoSum * mDepth, 0.0), 1.0);
  const double target = (sweep * kSweepSeconds + kMinimumDelaySeconds) * mSampleRate;
  return (target - delay) * mGlideFactor;
}

// Reads between the samples (int)D and (int)D - 1 old. The whole part is kept
// inside the line, which only matters for sample rates too low to render.
double Chorus::Tap(int tap) const {
  const double delay = mDelay[tap];
  const int truncated = static_cast<int>(delay);
  const int whole = std::min(truncated, mLineLength - 1);
  int older = mWrite - whole;
  if (older < 0) older += mLineLength;
  int newer = older + 1;
  if (newer >= mLineLength) newer -= mLineLength;
  // floor(delay) from the truncation, exact in int range, without a call.
  const double below = static_cast<double>(truncated);
  const double fraction = delay - (delay < below ? below - 1.0 : below);
  return fraction * (mLine[older] - mLine[newer]) + mLine[newer];
}

void Chorus::ProcessSample(double dry, double& left, double& right) {
  mLine[mWrite] = dry * kTapLevel;
  const double tap1 = Tap(0);
  const double tap2 = Tap(1);
  const double tap3 = Tap(2);
  left = (tap1 + dry + tap3) * mGain;
  right = (tap2 + dry + tap3) * mGain;
  if (++mWrite >= mLineLength) mWrite = 0;
  for (int k = 0; k < kTapCount; ++k) mDelay[k] += mDelayStep[k];
}

void Chorus::Process(const double* mix, double* left, double* right, int n) {
  if (!mOn) {
    for (int i = 0; i < n; ++i) left[i] = right[i] = mix[i] * mGain;
    return;
  }
  for (int i = 0; i < n; ++i) ProcessSample(mix[i], left[i], right[i]);
  mZerosInLine = 0;
}

// Zero times the gain (finite, not negative) is +0 when off. When on, every tap
// of an all-zero line is +0, and so is each output sum.
void Chorus::ProcessSilence(double* left, double* right, int n) {
  if (mOn && mZerosInLine < mLineLength) {
    for (int i = 0; i < n; ++i) ProcessSample(0.0, left[i], right[i]);
    mZerosInLine = std::min(mLineLength, mZerosInLine + n);
    return;
  }
  std::fill(left, left + n, 0.0);
  std::fill(right, right + n, 0.0);
  if (!mOn) return;
  // A control block is shorter than the line, so one wrap at most, as a rule.
  mWrite += n;
  if (mWrite >= mLineLength) mWrite -= mLineLength;
  if (mWrite >= mLineLength) mWrite %= mLineLength;
  for (int k = 0; k < kTapCount; ++k) {
    if (!AddAllOnOneGrid(mDelay[k], mDelayStep[k], n)) mDelay[k] = AddRepeatedly(mDelay[k], mDelayStep[k], n);
  }
}
