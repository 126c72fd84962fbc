// Band-limited single-cycle wave tables, built once per process and shared by
// every voice of every instance (they do not depend on the sample rate).
//
// Saw table j (0..19), 4096 samples per cycle, is the harmonic sum
//   T_j[l] = sum_{k=1..N_j} a_k sin(2 pi k l / 4096),   a_1 = 0.5,
//   a_k = (0.54 + 0.46 cos((k - 1) (pi / 2) / (N_j - 1))) * 0.5 / k,
// with N_j = round(2048 / sqrt(2)^j) harmonics: 1/k amplitudes under a quarter-
// cosine taper. The square is Q_j[l] = (T_j[l] - T_j[l + 2048]) / 2. Peak values
// stay near +-0.9 (saw) and +-0.45 (square). Table j serves oscillators that
// advance at most sqrt(2)^j entries per sample, so N_j times that stays at or
// below 2048 and no harmonic folds back past the table's Nyquist.
#pragma once

#include <array>
#include <cstdint>

constexpr int kWaveTableLength = 4096;
constexpr int kWaveTableMask = kWaveTableLength - 1;
constexpr int kWaveTableCount = 20;

enum Waveform : int { kWaveSaw = 0, kWaveSquare = 1 };

class WaveTables {
 public:
  // The process-wide tables, built on first use (thread-safe); about 30 ms.
  static const WaveTables& Shared();

  // wave: kWaveSquare selects the square set, anything else the saw set.
  // table: 0..kWaveTableCount-1.
  const double* Table(int wave, int table) const {
    return wave == kWaveSquare ? mSquare[table].data() : mSaw[table].data();
  }

  // The table a phase increment (2^28 per cycle) plays from: the smallest j
  // with (increment / 65536) * sqrt(1/2)^j <= 1, at most 19.
  static int TableFor(std::int32_t increment);

  static int HarmonicCount(int table);
  // The saw sample evaluated term by term with std::sin, as the sum is written
  // above; slow, for checking the fast build.
  static double DirectSawSample(int table, int position);

  WaveTables(const WaveTables&) = delete;
  WaveTables& operator=(const WaveTables&) = delete;

 private:
  WaveTables();

  using Cycle = std::array<double, kWaveTableLength>;
  std::array<Cycle, kWaveTableCount> mSaw;
  std::array<Cycle, kWaveTableCount> mSquare;
};
