// One of the chorus's two slow LFOs: three unipolar triangles 120 degrees apart.
//   o_i = |p_i| in 0..1;  p0 += increment;  p1 = p0 + 2/3;  p2 = p0 + 4/3  (wrapped into [-1, 1))
// The outputs lag the phases by one tick. Increment per control tick
// 0.000001..0.02 (0.0005 Hz to 10 Hz with 1 ms ticks).
#pragma once

#include <cmath>

class ChorusLfo {
 public:
  void Tick() {
    mOutput[0] = std::fabs(mPhase[0]);
    mOutput[1] = std::fabs(mPhase[1]);
    mOutput[2] = std::fabs(mPhase[2]);
    mPhase[0] += mIncrement;
    mPhase[1] = mPhase[0] + kOneThirdCycle;
    mPhase[2] = mPhase[0] + kTwoThirdsCycle;
    for (double& phase : mPhase) {
      if (phase >= 1.0) phase -= 2.0;
    }
  }

  void SetIncrement(double increment) { mIncrement = increment; }
  double Increment() const { return mIncrement; }
  double Output(int i) const { return mOutput[i]; }

 private:
  static constexpr double kOneThirdCycle = 0.6666666666666666;
  static constexpr double kTwoThirdsCycle = 1.3333333333333333;

  double mOutput[3] = {0.0, 0.0, 0.0};
  double mPhase[3] = {-1.0, -0.33333333333333337, 0.33333333333333326};
  double mIncrement = 0.0;
};
