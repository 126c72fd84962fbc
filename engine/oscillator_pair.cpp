#include "engine/oscillator_pair.h"

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

int OscillatorPair::TableFor(std::int32_t increment) {
  double entriesPerSample = static_cast<double>(increment >> kEntryBits);
  int table = 0;
  while (entriesPerSample > 1.0) {
    entriesPerSample *= kInverseSqrtTwo;
    ++table;
  }
  return table < kWaveTableCount ? table : kWaveTableCount - 1;
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
