// The band-limited wave tables: harmonic counts, agreement of the fast build
// with the harmonic sum evaluated term by term, the square's construction, the
// spectrum of a table, and the table choice that keeps harmonics below Nyquist.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/oscillator_pair.h"
#include "engine/wave_tables.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Amplitude of sine harmonic k in one cycle of a table.
double SineComponent(const double* table, int k) {
  double sum = 0.0;
  for (int l = 0; l < kWaveTableLength; ++l) {
    sum += table[l] * std::sin(kTwoPi * ((static_cast<long>(k) * l) % kWaveTableLength) / kWaveTableLength);
  }
  return sum * 2.0 / kWaveTableLength;
}

}  // namespace

TEST(WaveTables, HarmonicCountsHalveEveryTwoTables) {
  const int expected[kWaveTableCount] = {2048, 1448, 1024, 724, 512, 362, 256, 181, 128, 91,
                                         64,   45,   32,   23,  16,  11,  8,   6,   4,   3};
  for (int j = 0; j < kWaveTableCount; ++j) EXPECT_EQ(WaveTables::HarmonicCount(j), expected[j]) << j;
}

TEST(WaveTables, FastBuildMatchesTheTermByTermSum) {
  const WaveTables& tables = WaveTables::Shared();
  double worst = 0.0;
  for (int j = 0; j < kWaveTableCount; ++j) {
    const double* saw = tables.Table(kWaveSaw, j);
    // Every entry of the smallest tables, every 7th (and the ends) of the rest.
    const int stride = j >= 12 ? 1 : 7;
    for (int l = 0; l < kWaveTableLength; l += (l < 3 || l > kWaveTableLength - 4) ? 1 : stride) {
      worst = std::max(worst, std::fabs(saw[l] - WaveTables::DirectSawSample(j, l)));
    }
  }
  EXPECT_LE(worst, 1e-12);
}

TEST(WaveTables, SquareIsTheSawMinusItsHalfCycleShift) {
  const WaveTables& tables = WaveTables::Shared();
  for (int j : {0, 7, 19}) {
    const double* saw = tables.Table(kWaveSaw, j);
    const double* square = tables.Table(kWaveSquare, j);
    for (int l = 0; l < kWaveTableLength; ++l) {
      ASSERT_EQ(square[l], (saw[l] - saw[(l + 2048) % kWaveTableLength]) * 0.5) << j << " " << l;
    }
  }
  // Only odd harmonics remain, at the saw's amplitude.
  const double* saw = tables.Table(kWaveSaw, 11);
  const double* square = tables.Table(kWaveSquare, 11);
  EXPECT_NEAR(SineComponent(square, 2), 0.0, 1e-12);
  EXPECT_NEAR(SineComponent(square, 3), SineComponent(saw, 3), 1e-12);
}

TEST(WaveTables, SpectrumIsATaperedOneOverKUpToTheHarmonicCount) {
  const WaveTables& tables = WaveTables::Shared();
  for (int j : {3, 11, 19}) {
    const double* saw = tables.Table(kWaveSaw, j);
    const int count = WaveTables::HarmonicCount(j);
    EXPECT_NEAR(SineComponent(saw, 1), 0.5, 1e-12) << j;
    EXPECT_NEAR(SineComponent(saw, count), 0.54 * 0.5 / count, 1e-12) << j;
    EXPECT_NEAR(SineComponent(saw, count + 1), 0.0, 1e-12) << j;
    EXPECT_NEAR(SineComponent(saw, 2047), 0.0, 1e-12) << j;
  }
}

TEST(WaveTables, TableChoiceKeepsHarmonicsNearOrBelowNyquist) {
  for (int entries = 1; entries < kWaveTableLength; ++entries) {
    const int table = WaveTables::TableFor(entries * 65536);
    if (table == kWaveTableCount - 1) continue;  // the last table takes everything above
    // Rounded harmonic counts overshoot 2048 by at most 6 %.
    EXPECT_LE(WaveTables::HarmonicCount(table) * entries, 2048 * 1.07) << entries;
  }
}

// The table choice is looked up from thresholds; over every whole number of
// entries per sample (and the increments around each) it must be the table
// the definition names: the first j with (increment / 65536) * sqrt(1/2)^j <= 1,
// multiplied step by step, at most the last table.
TEST(WaveTables, TableChoiceMatchesItsDefinitionForEveryIncrement) {
  for (std::int64_t entries = 0; entries <= 32767; ++entries) {
    double scaled = static_cast<double>(entries);
    int expected = 0;
    while (scaled > 1.0) {
      scaled *= 0.7071067811865476;
      ++expected;
    }
    expected = std::min(expected, kWaveTableCount - 1);
    for (std::int64_t low : {std::int64_t{0}, std::int64_t{65535}}) {
      const std::int64_t increment = std::min<std::int64_t>(entries * 65536 + low, kMaxIncrement);
      ASSERT_EQ(WaveTables::TableFor(static_cast<std::int32_t>(increment)), expected) << increment;
    }
  }
  EXPECT_EQ(WaveTables::TableFor(-65536), 0);
}
