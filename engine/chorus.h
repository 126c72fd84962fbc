// The engine's output stage: turns the mono voice mix into left and right.
//   off:  left = right = g * x
//   on:   left = g (x + tap1 + tap3),  right = g (x + tap2 + tap3),
//         tap_k = 0.33 x delayed by D_k - 1 samples (linear interpolation),
//         D_k target = (1 ms + 16 ms * clamp((A.o_k + B.o_k) * depth, 0, 1)) * fs,
//         approached linearly, 0.999 of the way per control tick.
// g = e^2 / 2 for the normalised volume e; depth 0..0.45 keeps the delays
// between 1 and 15.4 ms, inside the 16 ms line. The three taps read one line:
// they would all hold the same signal.
#pragma once

#include <vector>

#include "engine/chorus_lfo.h"

class Chorus {
 public:
  static constexpr int kTapCount = 3;
  static constexpr double kResetLfoAIncrement = 4.00996e-4;
  static constexpr double kResetLfoBIncrement = 0.001400986;
  static constexpr double kResetDepth = 0.135;

  Chorus();

  // Sizes the line for the sample rate (allocates only when it changed), then
  // clears it and the delays. Not for the audio path when the rate changes.
  void Reset(double sampleRate);
  // Once per control tick: advances both LFOs and sets the delay glides.
  void Tick();
  // Writes (does not add) n samples to each output.
  void Process(const double* mix, double* left, double* right, int n);
  // Process for a mix of n zeros. Once the line holds nothing but zeros the
  // output is exact zero, and only the write position and the delay glides
  // move on, in closed form.
  void ProcessSilence(double* left, double* right, int n);

  void SetGain(double gain) { mGain = gain; }
  void SetOn(bool on) { mOn = on; }
  void SetLfoAIncrement(double increment) { mLfoA.SetIncrement(increment); }
  void SetLfoBIncrement(double increment) { mLfoB.SetIncrement(increment); }
  void SetDepth(double depth) { mDepth = depth; }

  int LineLength() const { return mLineLength; }
  double Delay(int tap) const { return mDelay[tap]; }
  double Gain() const { return mGain; }
  double Depth() const { return mDepth; }
  const ChorusLfo& LfoA() const { return mLfoA; }
  const ChorusLfo& LfoB() const { return mLfoB; }

 private:
  // Per sample, towards the delay the LFO outputs' sum asks for.
  double GlideStep(double lfoSum, double delay) const;
  // Runs the line for n samples; drySample(i) gives the mix.
  template <typename DrySample>
  void Run(DrySample drySample, double* left, double* right, int n);

  ChorusLfo mLfoA;
  ChorusLfo mLfoB;
  double mSampleRate = 0.0;
  double mGlideFactor = 0.0;
  std::vector<double> mLine;
  int mLineLength = 0;
  int mWrite = 0;
  // How many of the newest samples in the line are known to be zero (at most
  // its length).
  int mZerosInLine = 0;
  double mDelay[kTapCount] = {0.0, 0.0, 0.0};
  double mDelayStep[kTapCount] = {0.0, 0.0, 0.0};
  bool mOn = false;
  double mGain = 0.0;
  double mDepth = 0.0;
};
