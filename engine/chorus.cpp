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

// Reads between the samples (int)D and (int)D - 1 old. The whole part is kept
// inside the line, which only matters for sample rates too low to render.
inline double Tap(const double* line, int length, int write, double delay) {
  const int truncated = static_cast<int>(delay);
  const int whole = std::min(truncated, length - 1);
  int older = write - whole;
  if (older < 0) older += length;
  int newer = older + 1;
  if (newer >= length) newer -= length;
  // floor(delay) from the truncation, exact in int range, without a call.
  const double below = static_cast<double>(truncated);
  const double fraction = delay - (delay < below ? below - 1.0 : below);
  return fraction * (line[older] - line[newer]) + line[newer];
}

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
  mDelayStep[0] = GlideStep(a.value[0] + b.value[0], mDelay[0]);
  mDelayStep[1] = GlideStep(a.value[1] + b.value[1], mDelay[1]);
  mDelayStep[2] = GlideStep(a.value[2] + b.value[2], mDelay[2]);
}

double Chorus::GlideStep(double lfoSum, double delay) const {
  // std::clamp's order of comparisons, as a maximum and a minimum.
  const double sweep = std::min(std::max(lfoSum * mDepth, 0.0), 1.0);
  const double target = (sweep * kSweepSeconds + kMinimumDelaySeconds) * mSampleRate;
  return (target - delay) * mGlideFactor;
}

// The chorus's state lives in locals for the length of a loop: each store
// into the line could otherwise change any member, as far as the compiler
// knows, and every member would go through memory every sample.
template <typename DrySample>
void Chorus::Run(DrySample drySample, double* left, double* right, int n) {
  double* const line = mLine.data();
  const int length = mLineLength;
  const double gain = mGain;
  const double step1 = mDelayStep[0];
  const double step2 = mDelayStep[1];
  const double step3 = mDelayStep[2];
  double delay1 = mDelay[0];
  double delay2 = mDelay[1];
  double delay3 = mDelay[2];
  int write = mWrite;
  for (int i = 0; i < n; ++i) {
    const double dry = drySample(i);
    line[write] = dry * kTapLevel;
    const double tap1 = Tap(line, length, write, delay1);
    const double tap2 = Tap(line, length, write, delay2);
    const double tap3 = Tap(line, length, write, delay3);
    left[i] = (tap1 + dry + tap3) * gain;
    right[i] = (tap2 + dry + tap3) * gain;
    if (++write >= length) write = 0;
    delay1 += step1;
    delay2 += step2;
    delay3 += step3;
  }
  mDelay[0] = delay1;
  mDelay[1] = delay2;
  mDelay[2] = delay3;
  mWrite = write;
}

void Chorus::Process(const double* mix, double* left, double* right, int n) {
  if (!mOn) {
    const double gain = mGain;
    for (int i = 0; i < n; ++i) left[i] = right[i] = mix[i] * gain;
    return;
  }
  Run([mix](int i) { return mix[i]; }, left, right, n);
  mZerosInLine = 0;
}

// Zero times the gain (finite, not negative) is +0 when off. When on, every tap
// of an all-zero line is +0, and so is each output sum.
void Chorus::ProcessSilence(double* left, double* right, int n) {
  if (mOn && mZerosInLine < mLineLength) {
    Run([](int) { return 0.0; }, left, right, n);
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
  for (int k = 0; k < kTapCount; ++k) mDelay[k] = AddRepeatedly(mDelay[k], mDelayStep[k], n);
}
