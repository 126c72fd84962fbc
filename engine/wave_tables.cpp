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
      // Four partial sums keep the additions independent of each other.
      double sums[4] = {0.0, 0.0, 0.0, 0.0};
      int phase = 0;
      int k = 1;
      for (; k + 3 <= count; k += 4) {
        for (int lane = 0; lane < 4; ++lane) {
          phase = (phase + l) & kWaveTableMask;
          sums[lane] += weights[k + lane] * sine[phase];
        }
      }
      for (; k <= count; ++k) {
        phase = (phase + l) & kWaveTableMask;
        sums[0] += weights[k] * sine[phase];
      }
      saw[l] = (sums[0] + sums[1]) + (sums[2] + sums[3]);
      saw[kWaveTableLength - l] = -saw[l];
    }

    Cycle& square = mSquare[j];
    for (int l = 0; l < kWaveTableLength; ++l) {
      square[l] = (saw[l] - saw[(l + kHalfCycle) & kWaveTableMask]) * 0.5;
    }
  }
}
