#include "engine/voice_filter.h"

namespace {

const double kNoInput = 0.0;

}  // namespace

VoiceFilter::VoiceFilter() : mInputs{&kNoInput, &kNoInput, &kNoInput, &kNoInput} { Reset(); }

void VoiceFilter::SetMode(int mode) {
  if (mode == mMode) return;
  mMode = mode;
  Reset();
}

void VoiceFilter::SetCutoff(double pitchIndex, bool gliding) {
  mTargetCutoff = pitchIndex;
  if (gliding) {
    mCutoffStep = (pitchIndex - mCurrentCutoff) / kCutoffGlideTicks;
  } else {
    mCurrentCutoff = pitchIndex;
    mCutoffStep = 0.0;
  }
}

void VoiceFilter::SetResonance(double resonance) {
  mResonance = resonance;
  mCachedIndex = kNoCoefficients;
}

// The starting states 1, 0, -1, 0 are the filter's historical start; the first
// sample computes coefficients whatever the cutoff, so a cutoff index of 0 does
// not leave the filter with all-zero coefficients.
void VoiceFilter::Reset() {
  mCurrentCutoff = mTargetCutoff;
  mS0 = 1.0;
  mS1 = 0.0;
  mS2 = -1.0;
  mS3 = 0.0;
  mCachedIndex = kNoCoefficients;
  mCutoffStep = 0.0;
  mC4 = 0.0;
  mB = 0.0;
  mC2 = 0.0;
  mK = 0.0;
}

void VoiceFilter::ComputeCoefficients(int index) {
  mCachedIndex = index;
  ++mCoefficientUpdates;
  const FilterCoefficients& coefficients = mTables->Filter(index);
  mK = coefficients.k;
  mB = coefficients.b;
  if (mMode == kSmooth) {
    mFeedbackGain = mResonance * kSmoothFeedback;
    const double b2 = mB * mB;
    mC4 = b2 * b2;
  } else {
    mC2 = coefficients.c2;
    mC4 = coefficients.c4;
    mFeedbackGain = mResonance * kDirtyFeedback;
  }
}

double VoiceFilter::State(int i) const {
  switch (i) {
    case 0: return mS0;
    case 1: return mS1;
    case 2: return mS2;
    default: return mS3;
  }
}
