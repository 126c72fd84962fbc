// The 32 automatable parameters as the engine sees them: their indices and the
// range, default and shape exponent of each value. ApplyParameter clamps every
// incoming value into its range before converting it, so no conversion to an
// integer or table index can leave its domain.
#pragma once

#include <cmath>

namespace engine_parameter {

enum Index : int {
  kVolume = 0,
  kMonophon,
  kPitchBendRange,
  kPortamento,
  kMasterTune,
  kOscWave,
  kFmAmount,
  kFmSource,
  kOsc2Transpose,
  kOsc2Tune,
  kSync,
  kFilterMode,
  kFilterFrequency,
  kFilterResonance,
  kFilterEnvAmount,
  kFilterLfoAmount,
  kFilterKeyTrack,
  kFilterVelocity,
  kAmpVelocity,
  kLfoWave,
  kLfoFrequency,
  kFilterEnvAttack,
  kFilterEnvDecay,
  kFilterEnvSustain,
  kAmpEnvAttack,
  kAmpEnvDecay,
  kAmpEnvSustain,
  kAmpEnvRelease,
  kChorus,
  kChorusLfo1,
  kChorusLfo2,
  kChorusDepth,
  kCount
};

struct Range {
  double min;
  double max;
  double defaultValue;
  double shape;  // v = min + (max - min) * n^shape
};

inline constexpr Range kRanges[kCount] = {
    {0, 100, 50, 1},                      // Volume
    {0, 2, 0, 1},                         // Monophon
    {0, 12, 2, 1},                        // PB Range
    {0, 5, 0, 4},                         // Portamnt
    {-64, 64, 0, 1},                      // M. Tune
    {0, 1, 0, 1},                         // Osc Wave
    {-100, 100, 0, 1},                    // FM
    {0, 1, 0, 1},                         // FM Src
    {-24, 24, 0, 1},                      // Osc2Trns
    {-64, 64, 6, 1},                      // Osc2Tune
    {0, 1, 0, 1},                         // Sync
    {0, 1, 0, 1},                         // Flt Mode
    {0, 17280, 12218.805178903542, 0.5},  // Flt Freq
    {0, 100, 0, 1},                       // Flt Reso
    {-100, 100, 0, 1},                    // Flt Env
    {-100, 100, 0, 1},                    // Flt LFO
    {0, 100, 50, 1},                      // Flt Note
    {-100, 100, 0, 1},                    // Flt Velo
    {0, 100, 90, 1},                      // Amp Velo
    {0, 2, 0, 1},                         // LFO Wave
    {0.001, 99.999, 6.77, 4},             // LFO Freq
    {0, 100, 0, 1},                       // FltEnv A
    {0, 100, 0, 1},                       // FltEnv D
    {0, 1, 0, 1},                         // FltEnv S
    {0, 100, 0, 1},                       // AmpEnv A
    {0, 100, 0, 1},                       // AmpEnv D
    {0, 1, 1, 1},                         // AmpEnv S
    {0, 100, 0, 1},                       // AmpEnv R
    {0, 1, 0, 1},                         // Chorus
    {0, 100, 7, 1},                       // Cho LFO1
    {0, 100, 13, 1},                      // Cho LFO2
    {0, 100, 20, 1},                      // Cho Dpt
};

// Clamps into [lo, hi]; NaN becomes lo.
inline double ClampValue(double value, double lo, double hi) {
  if (!(value >= lo)) return lo;
  return value > hi ? hi : value;
}

// The normalised value n in [0, 1] of a parameter value (clamped into range first).
inline double Normalize(int index, double value) {
  const Range& range = kRanges[index];
  const double clamped = ClampValue(value, range.min, range.max);
  return std::pow((clamped - range.min) / (range.max - range.min), 1.0 / range.shape);
}

}  // namespace engine_parameter
