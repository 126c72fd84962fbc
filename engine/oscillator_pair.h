// The two wavetable oscillators of a voice. Both play the same wave; oscillator
// 2 sits a fixed number of pitch-index steps above oscillator 1, may be hard-
// synced to it, and the pair follows frequency modulation.
//
//   phase_n += increment_n  (mod 2^28),   out = T1[phase1 >> 16] + T2[phase2 >> 16]
//   sync: when phase 1 wraps, phase2 = (phase1 + increment1) * (p2 / p1)  (integer ratio)
//
// Pitches are pitch indices (1/128 semitone above 8.176 Hz) clamped to 0..17280
// for the table lookups; the output is the unscaled sum of two tables, about
// +-1.8 at most. Pitch and table choice change once per control tick
// (UpdatePitch); Next() is the whole per-sample work.
#pragma once

#include <cstdint>

#include "engine/pitch_tables.h"
#include "engine/wave_tables.h"

class OscillatorPair {
 public:
  static constexpr double kVibratoDepth = 640.0;  // pitch-index steps at full wheel and LFO

  OscillatorPair();

  // The pitch tables of the sample rate; set before the first UpdatePitch.
  void SetTables(const PitchTables* tables) {
    mTables = tables;
    mChoiceValid = false;
  }
  void SetBendRange(int steps) { mBendRange = steps; }
  void SetMasterTune(int steps) { mMasterTune = steps; }
  void SetWave(int wave) {
    mWave = wave;
    mChoiceValid = false;
  }
  void SetFmAmount(double steps) { mFmAmount = steps; }
  void SetSync(bool on) {
    mSync = on;
    mChoiceValid = false;
  }
  void SetOsc2Semitones(int semitones);
  void SetOsc2Fine(int steps);

  // Once per control tick. pitch: the voice's pitch index; bend: -1..+1;
  // vibrato: wheel^2 * LFO output; fmSource: LFO output or filter-envelope level.
  void UpdatePitch(double pitch, double bend, double vibrato, double fmSource) {
    int pitch1 = static_cast<int>(mBendRange * bend + (mMasterTune + pitch) + vibrato * kVibratoDepth);
    const double fm = fmSource * mFmAmount;
    int pitch2;
    if (mSync) {
      pitch2 = static_cast<int>(fm + (mOsc2Offset + pitch1));
    } else {
      pitch1 = static_cast<int>(fm + pitch1);
      pitch2 = mOsc2Offset + pitch1;
    }
    // A held note mostly keeps both pitch indices from tick to tick.
    if (!mChoiceValid || pitch1 != mChosenPitch1 || pitch2 != mChosenPitch2) ChoosePlayback(pitch1, pitch2);
  }

  // One sample of the oscillator sum; advances both phases. The sums are
  // unsigned: an increment of more than a cycle per sample (an oscillator
  // above the sample rate) plus a phase can pass the top of an int32.
  double Next() {
    const double sum = mTable1[mPhase1 >> 16] + mTable2[mPhase2 >> 16];
    const std::uint32_t next1 = static_cast<std::uint32_t>(mPhase1) + static_cast<std::uint32_t>(mIncrement1);
    if (mSync && next1 > kPhaseMaskBits) {
      mPhase2 = SyncedPhase(next1, mSyncRatio);
    } else {
      mPhase2 = static_cast<std::int32_t>(
          (static_cast<std::uint32_t>(mPhase2) + static_cast<std::uint32_t>(mIncrement2)) & kPhaseMaskBits);
    }
    mPhase1 = static_cast<std::int32_t>(next1 & kPhaseMaskBits);
    return sum;
  }

  // Where phase 2 restarts when phase 1 wraps to next1 (in the vector code's
  // lanes too).
  static std::int32_t SyncedPhase(std::uint32_t next1, double syncRatio) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(next1 * syncRatio) & kPhaseMask);
  }

  // Advances both phases by n samples without sync, as a silent voice does.
  // Unsigned arithmetic wraps modulo 2^32, a multiple of the 2^28 cycle, so a
  // count taken modulo 2^32 advances the phases just as far.
  void FreeRun(std::uint32_t n) {
    const auto step1 = n * static_cast<std::uint32_t>(mIncrement1);
    const auto step2 = n * static_cast<std::uint32_t>(mIncrement2);
    mPhase1 = static_cast<std::int32_t>((static_cast<std::uint32_t>(mPhase1) + step1) & kPhaseMaskBits);
    mPhase2 = static_cast<std::int32_t>((static_cast<std::uint32_t>(mPhase2) + step2) & kPhaseMaskBits);
  }

  std::int32_t Phase1() const { return mPhase1; }
  std::int32_t Phase2() const { return mPhase2; }
  std::int32_t Increment1() const { return mIncrement1; }
  std::int32_t Increment2() const { return mIncrement2; }
  double SyncRatio() const { return mSyncRatio; }
  int TableIndex1() const { return mTableIndex1; }
  int TableIndex2() const { return mTableIndex2; }
  int Osc2Offset() const { return mOsc2Offset; }

 private:
  friend class VoiceGroupAvx2;
  friend class VoiceGroupSse2;
  friend struct VoiceGroupState;

  static constexpr std::uint32_t kPhaseMaskBits = kPhaseMask;

  // Increments, wave tables and sync ratio for two pitch indices: all that
  // follows from them, the tables, the wave and sync.
  void ChoosePlayback(int pitch1, int pitch2);

  int mBendRange = 0;
  int mOsc2Semitones = 0;
  int mMasterTune = 0;
  int mOsc2Fine = 0;
  int mWave = kWaveSaw;
  double mFmAmount = 0.0;
  bool mSync = false;
  const WaveTables* mWaves;
  const double* mTable1;
  const double* mTable2;
  int mTableIndex1 = 0;
  int mTableIndex2 = 0;
  int mOsc2Offset = 0;
  std::int32_t mPhase1 = 0;
  std::int32_t mPhase2 = 0;
  std::int32_t mIncrement1 = 0;
  std::int32_t mIncrement2 = 0;
  double mSyncRatio = 0.0;
  const PitchTables* mTables = nullptr;
  // The pitch indices the increments, wave tables and ratio were last chosen
  // for; not valid once the tables, the wave or sync changed.
  int mChosenPitch1 = 0;
  int mChosenPitch2 = 0;
  bool mChoiceValid = false;
};
