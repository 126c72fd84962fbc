// One of the chorus's two slow LFOs: three unipolar triangles 120 degrees apart.
//   o_i = |p_i| in 0..1;  p0 += increment;  p1 = p0 + 2/3;  p2 = p0 + 4/3  (wrapped into [-1, 1))
// The outputs lag the phases by one tick. Increment per control tick
// 0.000001..0.02 (0.0005 Hz to 10 Hz with 1 ms ticks).
#pragma once

#include <cmath>

class ChorusLfo {
 public:
  struct Outputs {
    double value[3];
  };

  // Advances one tick and answers this tick's outputs. Kept in registers by
  // the caller, inline: written to memory and read back, they would wait on
  // store forwarding every tick.
  Outputs Tick() {
    const Outputs outputs = {{std::fabs(mPhase[0]), std::fabs(mPhase[1]), std::fabs(mPhase[2])}};
    const double advanced = mPhase[0] + mIncrement;
    mPhase[0] = Wrapped(advanced);
    mPhase[1] = Wrapped(advanced + kOneThirdCycle);
    mPhase[2] = Wrapped(advanced + kTwoThirdsCycle);
    return outputs;
  }

  void SetIncrement(double increment) { mIncrement = increment; }
  double Increment() const { return mIncrement; }

 private:
  static constexpr double kOneThirdCycle = 0.6666666666666666;
  static constexpr double kTwoThirdsCycle = 1.3333333333333333;

  // Subtracting +0 leaves every phase as it is: the compiler may choose
  // between a branch and a select.
  static double Wrapped(double phase) { return phase - (phase >= 1.0 ? 2.0 : 0.0); }

  double mPhase[3] = {-1.0, -0.33333333333333337, 0.33333333333333326};
  double mIncrement = 0.0;
};
