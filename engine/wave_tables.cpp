#include "engine/wave_tables.h"

#include <cmath>
#include <vector>

#include "engine/engine_constants.h"

namespace {

constexpr double kSqrtTwo = 1.4142135623730951;
constexpr double kInverseTableLength = 0.000244140625;
constexpr double kFundamentalWeight = 0.5;
constexpr double kTaperFloor = 0.54;
constexpr double kTaperDepth = 0.46;
constexpr int kHalfCycle = kWaveTableLength / 2;

double HarmonicWeight(int harmonic, int harmonicCount) {
  if (harmonic == 1) return kFundamentalWeight;
  const double taper = std::cos((harmonic - 1) * kHalfPi / (harmonicCount - 1)) * kTaperDepth + kTaperFloor;
  return taper * 0.5 / harmonic;
}

}  // namespace

const WaveTables& WaveTables::Shared() {
  static const WaveTables tables;
  return tables;
}

int WaveTables::HarmonicCount(int table) {
  return static_cast<int>(std::lround(kHalfCycle / std::pow(kSqrtTwo, table)));
}

double WaveTables::DirectSawSample(int table, int position) {
  const int count = HarmonicCount(table);
  double sum = std::sin(kTwoPi * kInverseTableLength * position) * kFundamentalWeight;
  for (int k = 2; k <= count; ++k) {
    sum += std::sin(k * kTwoPi * kInverseTableLength * position) * HarmonicWeight(k, count);
  }
  return sum;
}

// sin(2 pi k l / 4096) depends only on k * l mod 4096, so one sine cycle of
// 4096 exact values replaces tens of millions of std::sin calls. A saw sum is
// odd about l = 0 and l = 2048, so only the first half cycle is summed.
WaveTables::WaveTables() {
  std::vector<double> sine(kWaveTableLength);
  for (int m = 0; m < kWaveTableLength; ++m) sine[m] = std::sin(kTwoPi * kInverseTableLength * m);

  std::vector<double> weights;
  for (int j = 0; j < kWaveTableCount; ++j) {
    const int count = HarmonicCount(j);
    weights.assign(count + 1, 0.0);
    for (int k = 1; k <= count; ++k) weights[k] = HarmonicWeight(k, count);

    Cycle& saw = mSaw[j];
    saw[0] = 0.0;
    saw[kHalfCycle] = 0.0;
    for (int l = 1; l < kHalfCycle; ++l) {
      // Four partial sums keep the additions independent of each other; they
      // are named variables so that they stay in registers.
      double sum0 = 0.0, sum1 = 0.0, sum2 = 0.0, sum3 = 0.0;
      const double* weight = weights.data() + 1;
      const double* wave = sine.data();
      unsigned phase = 0;
      const auto step = static_cast<unsigned>(l);
      int k = 1;
      for (; k + 3 <= count; k += 4, weight += 4) {
        phase = (phase + step) & kWaveTableMask;
        sum0 += weight[0] * wave[phase];
        phase = (phase + step) & kWaveTableMask;
        sum1 += weight[1] * wave[phase];
        phase = (phase + step) & kWaveTableMask;
        sum2 += weight[2] * wave[phase];
        phase = (phase + step) & kWaveTableMask;
        sum3 += weight[3] * wave[phase];
      }
      for (; k <= count; ++k, ++weight) {
        phase = (phase + step) & kWaveTableMask;
        sum0 += weight[0] * wave[phase];
      }
      saw[l] = (sum0 + sum1) + (sum2 + sum3);
      saw[kWaveTableLength - l] = -saw[l];
    }

    Cycle& square = mSquare[j];
    for (int l = 0; l < kWaveTableLength; ++l) {
      square[l] = (saw[l] - saw[(l + kHalfCycle) & kWaveTableMask]) * 0.5;
    }
  }
}
