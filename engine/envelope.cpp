#include "engine/envelope.h"

#include <cmath>

namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr double kRateExponentTop = 2.3;
constexpr double kRateExponentSpan = 4.5;

}  // namespace

double Envelope::Rate(double x) const { return std::pow(10.0, kRateExponentTop - x * kRateExponentSpan) * mRateScale; }

void Envelope::StartAttack() {
  mStage = kAttack;
  mTarget = kAttackTarget;
  mCoefficient = Rate(mAttack);
}

void Envelope::StartRelease() {
  mStage = kRelease;
  mTarget = kReleaseTarget;
  mCoefficient = Rate(mRelease);
}

void Envelope::SetAttack(double x) {
  mAttack = x;
  if (mStage == kAttack) mCoefficient = Rate(x);
}

void Envelope::SetDecay(double x) {
  mDecay = x;
  if (mStage == kDecay) mCoefficient = Rate(x);
}

void Envelope::SetRelease(double x) {
  mRelease = x;
  if (mStage == kRelease) mCoefficient = Rate(x);
}

void Envelope::SetSustain(double value) {
  mSustainLevel = value == 0.0 ? 0.0 : 1.0;
  if (mStage == kDecay) mTarget = mSustainLevel;
}

void Envelope::Reset(double sampleRate) {
  mRateScale = kLn10 / sampleRate;
  mLevel = 0.0;
  mStage = kIdle;
}
