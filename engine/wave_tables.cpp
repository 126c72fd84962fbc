#include "engine/wave_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/engine_constants.h"

namespace {

constexpr double kSqrtTwo = 1.4142135623730951;
constexpr double kInverseTableLength = 0.000244140625;
constexpr double kFundamentalWeight = 0.5;
constexpr double kTaperFloor = 0.54;
constexpr double kTaperDepth = 0.46;
constexpr int kHalfCycle = kWaveTableLength / 2;
constexpr int kEntryBits = 16;  // phase bits below the table index
constexpr double kInverseSqrtTwo = 0.7071067811865476;

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

namespace {

// The table for a whole number of entries per sample, as the definition reads.
int TableForEntries(int entries) {
  double entriesPerSample = static_cast<double>(entries);
  int table = 0;
  while (entriesPerSample > 1.0) {
    entriesPerSample *= kInverseSqrtTwo;
    ++table;
  }
  return table < kWaveTableCount ? table : kWaveTableCount - 1;
}

// threshold[j]: the fewest entries per sample that play from a table past j.
// Rounding is monotonic, so TableForEntries never decreases and these
// thresholds reproduce it exactly, without the chain of multiplications.
// They grow by about sqrt(2) each, so only a few lie within one power of two:
// firstTable[b] counts those at or below the smallest number of b bits, and
// the few above it are then compared one by one.
constexpr int kMostEntries = std::numeric_limits<std::int32_t>::max() >> kEntryBits;
constexpr int kEntryLengths = 16;  // bits of kMostEntries, plus one for 0

struct TableChoice {
  std::array<int, kWaveTableCount - 1> thresholds{};
  std::array<int, kEntryLengths> firstTable{};
};

TableChoice ComputeTableChoice() {
  TableChoice choice;
  for (int j = 0; j < kWaveTableCount - 1; ++j) {
    int low = 0;
    int high = kMostEntries + 1;  // past every increment
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (TableForEntries(middle) > j) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    choice.thresholds[j] = low;
  }
  for (int length = 0; length < kEntryLengths; ++length) {
    const int smallest = length == 0 ? 0 : 1 << (length - 1);
    choice.firstTable[length] = static_cast<int>(
        std::upper_bound(choice.thresholds.begin(), choice.thresholds.end(), smallest) - choice.thresholds.begin());
  }
  return choice;
}

// Bits needed to write entries (0 for 0).
int BitLength(int entries) { return entries == 0 ? 0 : 32 - __builtin_clz(static_cast<unsigned>(entries)); }

}  // namespace

int WaveTables::TableFor(std::int32_t increment) {
  static const TableChoice choice = ComputeTableChoice();
  // Negative increments play from table 0, as 0 entries do.
  const int entries = std::max(increment >> kEntryBits, 0);
  int table = choice.firstTable[BitLength(entries)];
  while (table < kWaveTableCount - 1 && choice.thresholds[table] <= entries) ++table;
  return table;
}
