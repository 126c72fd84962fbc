// Lookup tables from pitch index (1/128 semitone above 8.176 Hz, 0..17280) to
// per-sample quantities at one sample rate fs:
//   increment[i] = trunc(NoteFrequency(i) * 2^28 / fs)   oscillator phase step,
//                  2^28 per cycle; above fs it is more than a cycle per sample
//                  and the oscillator aliases. Below fs = 2.5 kHz the top
//                  entries no longer fit an int and saturate;
//   waveTable[i] = WaveTables::TableFor(increment[i])      the band-limited table
//                  an oscillator at that pitch plays from;
//   filter[i]    = the coefficients of VoiceFilter at the corner
//                  w = NoteFrequency(i) * 2 pi / fs, rad/sample, used
//                  without pre-warping.
// fs enters in single precision, as the tables were always built.
//
// Instances share tables through a process-wide cache keyed by sample rate, so
// two instances at different rates each play with their own, and a reset of one
// never changes the pitch of another.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>

#include "engine/note_frequency.h"

constexpr int kPitchTableSize = kMaxPitchIndex + 1;
constexpr int kPhaseBits = 28;
constexpr int kPhaseMask = (1 << kPhaseBits) - 1;
// A phase below 2^28 plus this still fits an unsigned 32-bit sum.
constexpr int kMaxIncrement = std::numeric_limits<std::int32_t>::max();

// The coefficients of VoiceFilter's one-pole sections at corner w:
//   g = 1 / (w + 2), b = g w, k = (w - 2) g,
// and of its Dirty mode, c2 = 2 g and c4 = c2 b. One 32-byte row, so vector
// code fetches a voice's set with one load.
struct alignas(32) FilterCoefficients {
  double b, k, c2, c4;
};

inline int ClampPitchIndex(int pitchIndex) {
  return pitchIndex < 0 ? 0 : (pitchIndex > kMaxPitchIndex ? kMaxPitchIndex : pitchIndex);
}

class PitchTables {
 public:
  // Tables for the sample rate, built if no holder of them is alive. Called
  // from engine resets, never from the audio path: it may allocate and takes
  // the cache's lock. sampleRate must be positive and finite.
  static std::shared_ptr<const PitchTables> ForSampleRate(double sampleRate);

  explicit PitchTables(float sampleRate);

  int Increment(int pitchIndex) const { return mIncrement[ClampPitchIndex(pitchIndex)]; }
  int WaveTable(int pitchIndex) const { return mWaveTable[ClampPitchIndex(pitchIndex)]; }
  const FilterCoefficients& Filter(int pitchIndex) const { return mFilter[ClampPitchIndex(pitchIndex)]; }
  // The whole coefficient table, for indices already clamped.
  const FilterCoefficients* FilterTable() const { return mFilter.data(); }
  float SampleRate() const { return mSampleRate; }

 private:
  float mSampleRate;
  std::array<int, kPitchTableSize> mIncrement;
  std::array<FilterCoefficients, kPitchTableSize> mFilter;
  std::array<std::uint8_t, kPitchTableSize> mWaveTable;
};
