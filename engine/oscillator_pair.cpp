#include "engine/oscillator_pair.h"

OscillatorPair::OscillatorPair()
    : mWaves(&WaveTables::Shared()), mTable1(mWaves->Table(kWaveSaw, 0)), mTable2(mWaves->Table(kWaveSaw, 0)) {}

void OscillatorPair::SetOsc2Semitones(int semitones) {
  mOsc2Semitones = semitones;
  mOsc2Offset = semitones * kPitchStepsPerSemitone + mOsc2Fine;
}

void OscillatorPair::SetOsc2Fine(int steps) {
  mOsc2Fine = steps;
  mOsc2Offset = steps + mOsc2Semitones * kPitchStepsPerSemitone;
}

void OscillatorPair::ChoosePlayback(int pitch1, int pitch2) {
  mChoiceValid = true;
  mChosenPitch1 = pitch1;
  mChosenPitch2 = pitch2;
  const PitchTables& tables = *mTables;
  mIncrement1 = tables.Increment(pitch1);
  mIncrement2 = tables.Increment(pitch2);
  mTableIndex1 = tables.WaveTable(pitch1);
  mTableIndex2 = tables.WaveTable(pitch2);
  mTable1 = mWaves->Table(mWave, mTableIndex1);
  mTable2 = mWaves->Table(mWave, mTableIndex2);
  // Oscillator 1 at or below pitch index 0 has no meaningful ratio; a ratio of
  // 0 restarts oscillator 2 at phase 0 on every wrap.
  if (mSync) mSyncRatio = pitch1 > 0 ? static_cast<double>(pitch2 / pitch1) : 0.0;
}
