// One-pole exponential segment generator that aims past its end points, so that
// every segment ends in finite time:
//   level += (target - level) * c,    c = 10^(2.3 - 4.5 x) * ln(10) / fs
// Attack aims at 10/9 and ends at 1; decay aims at the sustain level (0 or 1)
// and never ends by itself; release aims at -1/9 and ends at 0. Settings x in
// 0..1 give attack and release times of about 10^(4.5 x - 2.3) s: 5 ms at 0,
// 0.89 s at 0.5, 158 s at 1. Level in 0..1; one step per sample.
#pragma once

class Envelope {
 public:
  enum Stage : int { kIdle = 0, kAttack = 1, kDecay = 2, kRelease = 3 };

  static constexpr double kAttackTarget = 1.1111111111111112;    // 10/9
  static constexpr double kReleaseTarget = -0.1111111111111111;  // -1/9

  void Step() {
    if (mStage == kIdle) return;
    mLevel = (mTarget - mLevel) * mCoefficient + mLevel;
    if (mStage == kAttack) {
      if (mLevel >= 1.0) {
        mLevel = 1.0;
        mStage = kDecay;
        mTarget = mSustainLevel;
        mCoefficient = Rate(mDecay);
      }
    } else if (mLevel <= 0.0) {
      mLevel = 0.0;
      mStage = kIdle;
    }
  }

  // Whether Step would leave level and stage as they are: then so would every
  // later step until something else changes the envelope. A level equal to
  // its target (not zero, so not a signed zero either) stays put exactly.
  // With the next level equal to this one, the stage ends unless the level
  // lies below 1 in the attack, above 0 otherwise.
  bool IsSettled() const {
    if (mStage == kIdle) return true;
    if ((mTarget - mLevel) * mCoefficient + mLevel != mLevel) return false;
    return mStage == kAttack ? mLevel < 1.0 && mLevel != 0.0 : mLevel > 0.0;
  }

  // Starts from the present level: a retriggered note does not click to zero.
  void StartAttack();
  void StartRelease();

  void SetAttack(double x);
  void SetDecay(double x);
  void SetRelease(double x);
  // 0 holds nothing after the attack; anything else sustains at full level.
  void SetSustain(double value);

  // Level 0, idle, and the rate scale for the sample rate.
  void Reset(double sampleRate);

  double Level() const { return mLevel; }
  const double* LevelSource() const { return &mLevel; }
  Stage CurrentStage() const { return mStage; }
  double Coefficient() const { return mCoefficient; }
  double Target() const { return mTarget; }

  // The fraction of the remaining distance covered per step for a setting x.
  double Rate(double x) const;

 private:
  friend class VoiceGroupAvx2;
  friend class VoiceGroupSse2;
  friend struct VoiceGroupState;
  friend struct VoiceGroupEnvelopes;

  static constexpr double kDefaultRateScale = 0.002302585092994046;  // ln(10) / 1000 Hz

  double mLevel = 0.0;
  double mAttack = 0.0;
  double mDecay = 0.0;
  double mSustainLevel = 0.0;
  double mRelease = 0.0;
  Stage mStage = kIdle;
  double mRateScale = kDefaultRateScale;
  double mTarget = 0.0;
  double mCoefficient = 0.0;
};
