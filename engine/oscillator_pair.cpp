#include "engine/oscillator_pair.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr int kEntryBits = 16;  // phase bits below the table index
constexpr double kInverseSqrtTwo = 0.7071067811865476;

}  // namespace

OscillatorPair::OscillatorPair()
    : mTable1(WaveTables::Shared().Table(kWaveSaw, 0)), mTable2(WaveTables::Shared().Table(kWaveSaw, 0)) {}

void OscillatorPair::SetOsc2Semitones(int semitones) {
  mOsc2Semitones = semitones;
  mOsc2Offset = semitones * kPitchStepsPerSemitone + mOsc2Fine;
}

void OscillatorPair::SetOsc2Fine(int steps) {
  mOsc2Fine = steps;
  mOsc2Offset = steps + mOsc2Semitones * kPitchStepsPerSemitone;
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

int OscillatorPair::TableFor(std::int32_t increment) {
  static const TableChoice choice = ComputeTableChoice();
  // Negative increments play from table 0, as 0 entries do.
  const int entries = std::max(increment >> kEntryBits, 0);
  int table = choice.firstTable[BitLength(entries)];
  while (table < kWaveTableCount - 1 && choice.thresholds[table] <= entries) ++table;
  return table;
}

void OscillatorPair::UpdatePitch(double pitch, double bend, double vibrato, double fmSource,
                                 const PitchTables& tables) {
  int pitch1 = static_cast<int>(mBendRange * bend + (mMasterTune + pitch) + vibrato * kVibratoDepth);
  const double fm = fmSource * mFmAmount;
  int pitch2;
  if (mSync) {
    pitch2 = static_cast<int>(fm + (mOsc2Offset + pitch1));
  } else {
    pitch1 = static_cast<int>(fm + pitch1);
    pitch2 = mOsc2Offset + pitch1;
  }
  mIncrement1 = tables.Increment(pitch1);
  mIncrement2 = tables.Increment(pitch2);
  mTableIndex1 = TableFor(mIncrement1);
  mTableIndex2 = TableFor(mIncrement2);
  const WaveTables& waves = WaveTables::Shared();
  mTable1 = waves.Table(mWave, mTableIndex1);
  mTable2 = waves.Table(mWave, mTableIndex2);
  // Oscillator 1 at or below pitch index 0 has no meaningful ratio; a ratio of
  // 0 restarts oscillator 2 at phase 0 on every wrap.
  if (mSync) mSyncRatio = pitch1 > 0 ? static_cast<double>(pitch2 / pitch1) : 0.0;
}
