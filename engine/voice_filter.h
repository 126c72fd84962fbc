// Resonant low-pass of a voice, built from bilinear one-pole sections
//   y[n] = b (u[n] + u[n-1]) - k y[n-1],  b = w / (w + 2),  k = (w - 2) / (w + 2)
// (unity gain at DC; w the corner in rad/sample, not pre-warped), each run in
// transposed form: y = s + b u, s = b u - k y.
//   Smooth (mode 0): four poles; the input is reduced by the feedback gain
//     (0..4.2) times the clipped four-pole estimate of this sample's output.
//   Dirty (mode 1): two poles; positive feedback (gain 0..3.1) of a one-pole
//     high-pass of the output, hard-clipped to +-1 before the second pole.
// The cutoff is a pitch index summed every sample from the knob (gliding), the
// filter envelope, the LFO, the key and the velocity; the coefficients, worked
// out once per index in the pitch tables, are fetched again only when its
// integer part changes. Input about +-2, output bounded by the clipping in
// Dirty mode and by the resonance in Smooth mode.
#pragma once

#include <climits>

#include "engine/pitch_tables.h"

class VoiceFilter {
 public:
  enum Mode : int { kSmooth = 0, kDirty = 1 };

  // Where the modulation sources live; bound once by the owning voice.
  struct Inputs {
    const double* envelope;  // filter-envelope level, 0..1
    const double* lfo;       // engine LFO output, -1..+1
    const double* key;       // (note - 48) / 12
    const double* velocity;  // velocity factor of the voice
  };

  static constexpr double kSmoothFeedback = 4.2;
  static constexpr double kDirtyFeedback = 3.1;
  static constexpr int kCutoffGlideTicks = 50;

  VoiceFilter();

  void BindInputs(const Inputs& inputs) { mInputs = inputs; }
  void SetTables(const PitchTables* tables) { mTables = tables; }

  // Mode 0 or 1; a change restarts the filter.
  void SetMode(int mode);
  // Pitch index; glides over 50 control ticks when the voice is sounding.
  void SetCutoff(double pitchIndex, bool gliding);
  void SetResonance(double resonance);
  void SetEnvelopeAmount(double steps) { mEnvelopeAmount = steps; }
  void SetLfoAmount(double steps) { mLfoAmount = steps; }
  void SetKeyAmount(double stepsPerOctave) { mKeyAmount = stepsPerOctave; }
  void SetVelocityAmount(double steps) { mVelocityAmount = steps; }

  // One control tick of the cutoff glide; the last step lands on the target.
  void GlideCutoff() {
    if (mCurrentCutoff == mTargetCutoff) return;
    mCurrentCutoff += mCutoffStep;
    const bool passed = mCutoffStep < 0.0 ? mTargetCutoff > mCurrentCutoff : mTargetCutoff < mCurrentCutoff;
    if (passed) mCurrentCutoff = mTargetCutoff;
  }

  // States 1, 0, -1, 0, the cutoff at its target, no coefficients yet.
  void Reset();

  double Process(double x) {
    const int index =
        static_cast<int>(*mInputs.envelope * mEnvelopeAmount + mCurrentCutoff + *mInputs.lfo * mLfoAmount +
                         *mInputs.key * mKeyAmount + *mInputs.velocity * mVelocityAmount);
    if (index != mCachedIndex) ComputeCoefficients(index);
    const double in = x + mDenormalOffset;
    mS0 += mDenormalOffset;
    mS1 += mDenormalOffset;
    mS2 += mDenormalOffset;
    mS3 += mDenormalOffset;
    mDenormalOffset = -mDenormalOffset;
    if (mMode == kSmooth) {
      const double estimate = ((mS0 * mB + mS1) * mB + mS2) * mB + mS3 + in * mC4;
      const double u = in - Clip(estimate) * mFeedbackGain;
      const double y1 = mS0 + mB * u;
      mS0 = mB * u - mK * y1;
      const double y2 = mS1 + mB * y1;
      mS1 = mB * y1 - mK * y2;
      const double y3 = mS2 + mB * y2;
      mS2 = mB * y2 - mK * y3;
      const double y4 = mS3 + mB * y3;
      mS3 = mB * y3 - mK * y4;
      return estimate;
    }
    const double t = mB * in + mS0;
    mS0 = mB * in - mK * t;
    const double estimate = t + mFeedbackGain * (mC2 * mS1 + mS2 + mC4 * t);
    const double v = mB * Clip(estimate);
    const double y = mS1 + v;
    mS1 = v - mK * y;
    const double p = mS2 + mC2 * y;
    mS2 = -mC2 * y - mK * p;
    return y;
  }

  int Mode() const { return mMode; }
  double TargetCutoff() const { return mTargetCutoff; }
  double CurrentCutoff() const { return mCurrentCutoff; }
  double CutoffStep() const { return mCutoffStep; }
  int CachedIndex() const { return mCachedIndex; }
  int CoefficientUpdates() const { return mCoefficientUpdates; }
  double State(int i) const;

 private:
  friend class VoiceGroupAvx2;
  friend class VoiceGroupSse2;
  friend struct VoiceGroupState;

  static constexpr double kInitialDenormalOffset = 1e-13;
  // Outside every reachable cutoff index, so the next sample always recomputes.
  static constexpr int kNoCoefficients = INT_MIN;

  static double Clip(double x) { return x < -1.0 ? -1.0 : (x > 1.0 ? 1.0 : x); }
  void ComputeCoefficients(int index);

  Inputs mInputs;
  const PitchTables* mTables = nullptr;
  int mMode = kSmooth;
  double mTargetCutoff = 0.0;
  double mResonance = 0.0;
  double mEnvelopeAmount = 0.0;
  double mLfoAmount = 0.0;
  double mKeyAmount = 0.0;
  double mVelocityAmount = 0.0;
  double mC4 = 0.0;
  double mB = 0.0;
  double mC2 = 0.0;
  double mK = 0.0;
  double mFeedbackGain = 0.0;
  int mCachedIndex = kNoCoefficients;
  int mCoefficientUpdates = 0;
  double mCurrentCutoff = 0.0;
  double mCutoffStep = 0.0;
  double mS0 = 0.0;
  double mS1 = 0.0;
  double mS2 = 0.0;
  double mS3 = 0.0;
  double mDenormalOffset = kInitialDenormalOffset;
};
