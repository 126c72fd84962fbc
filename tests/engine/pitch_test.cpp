// Pitch: increments and table choice, measured frequencies of rendered notes,
// the oscillator-2 offset, hard sync, glide, pitch bend and per-instance tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/engine_parameter.h"
#include "engine/oscillator_pair.h"
#include "engine/pitch_tables.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

// Renders a held note and returns the left channel after the attack.
std::vector<double> HeldNote(SynthEngine& engine, int note, double seconds, ParameterValues extra = {}) {
  ApplyPlainPatch(engine, extra);
  NoteOn(engine, note);
  const double rate = engine.ControlBlockLength() * 1000.0;
  Render(engine, static_cast<int>(rate * 0.05));
  return Render(engine, static_cast<int>(rate * seconds)).left;
}

}  // namespace

TEST(Pitch, IncrementsAndTableChoice) {
  EXPECT_EQ(NoteFrequency(8832), 440.0);
  EXPECT_NEAR(NoteFrequency(64), 8.419, 1e-12);
  EXPECT_NEAR(NoteFrequency(-64), (8.176 + 7.7171163805) / 2, 1e-12);
  const PitchTables at44100(44100.0f);
  EXPECT_EQ(at44100.Increment(8832), 2678267);
  EXPECT_EQ(WaveTables::TableFor(2678267), 11);
  EXPECT_EQ(WaveTables::HarmonicCount(11), 45);
  // Indices outside 0..17280 play at the ends of the table.
  EXPECT_EQ(at44100.Increment(-300), at44100.Increment(0));
  EXPECT_EQ(at44100.Increment(30000), at44100.Increment(17280));
  EXPECT_EQ(at44100.Increment(0), static_cast<int>(8.176 * 268435456.0 / 44100.0));
  const double corner440 = 440.0 * 6.283185307179586 / 44100.0;
  EXPECT_DOUBLE_EQ(at44100.Filter(8832).b, corner440 / (corner440 + 2.0));
  // One entry per sample and below takes table 0, anything huge table 19.
  EXPECT_EQ(WaveTables::TableFor(65536 * 2 - 1), 0);
  EXPECT_EQ(WaveTables::TableFor(kMaxIncrement), 19);

  // Far below a usable rate an increment no longer fits and saturates.
  const PitchTables at1000(1000.0f);
  EXPECT_EQ(at1000.Increment(17280), kMaxIncrement);
  EXPECT_GT(at1000.Increment(0), 0);
}

TEST(Pitch, OscillatorsAboveTheSampleRateKeepTheirIncrementAndAlias) {
  // At 16000 Hz the top pitch (19912.127 Hz) lies above the rate: its
  // increment is still the truncated 19912.127 * 2^28 / fs, more than a cycle
  // per sample, and the phase moves by it modulo one cycle: the oscillator
  // sounds, aliased to 3912 Hz, instead of standing still.
  const PitchTables at16000(16000.0f);
  const int expected = static_cast<int>(19912.127 * 268435456.0 / 16000.0);
  EXPECT_EQ(at16000.Increment(17280), expected);
  OscillatorPair pair;
  pair.SetTables(&at16000);
  pair.UpdatePitch(17280, 0.0, 0.0, 0.0);
  ASSERT_EQ(pair.Increment1(), expected);
  double lowest = 0.0;
  double highest = 0.0;
  for (int i = 0; i < 1000; ++i) {
    const std::int64_t before = pair.Phase1();
    const double out = pair.Next();
    ASSERT_EQ(pair.Phase1(), (before + expected) & kPhaseMask) << i;
    lowest = std::min(lowest, out);
    highest = std::max(highest, out);
  }
  EXPECT_GT(highest - lowest, 1.0);

  // At the lowest usable rate the top increments saturate, the phase sums stay
  // within range (the sanitizer build checks), and a note with oscillator 2
  // two octaves up renders sane samples, synced or not.
  for (double sync : {0.0, 1.0}) {
    RecordingHost host;
    SynthEngine engine(host);
    engine.Reset(1000, 64);
    ApplyPlainPatch(engine, {{p::kOsc2Transpose, 24}, {p::kSync, sync}});
    NoteOn(engine, 127, 127);
    const std::vector<double> out = Render(engine, 2000, 64).left;
    EXPECT_EQ(engine.VoiceAt(0).Oscillators().Increment2(), kMaxIncrement);
    for (double x : out) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 8.0);
  }
}

TEST(Pitch, Note69SoundsAt440HzAtEverySampleRate) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    RecordingHost host;
    SynthEngine engine(host);
    engine.Reset(rate, 512);
    const std::vector<double> out = HeldNote(engine, 69, 1.0);
    EXPECT_NEAR(MeasureFrequency(out, rate), 440.0, 0.02) << rate;
    const Voice& voice = engine.VoiceAt(0);
    EXPECT_EQ(voice.CurrentPitch(), 8832);
    EXPECT_EQ(voice.Oscillators().Increment1(), static_cast<int>(440.0 * 268435456.0 / rate)) << rate;
    EXPECT_EQ(voice.Oscillators().Increment2(), voice.Oscillators().Increment1());
    if (rate == 44100.0) {
      EXPECT_EQ(voice.Oscillators().TableIndex1(), 11);
    }
  }
}

TEST(Pitch, TwoInstancesAtDifferentRatesEachKeepTheirOwnTables) {
  RecordingHost host;
  SynthEngine first(host);
  SynthEngine second(host);
  first.Reset(44100, 512);
  second.Reset(48000, 512);
  const std::vector<double> a = HeldNote(first, 69, 0.5);
  second.Reset(96000, 512);  // a later reset of the other instance
  const std::vector<double> b = HeldNote(second, 69, 0.5);
  const std::vector<double> a2 = Render(first, 22050).left;
  EXPECT_NEAR(MeasureFrequency(a, 44100), 440.0, 0.05);
  EXPECT_NEAR(MeasureFrequency(b, 96000), 440.0, 0.05);
  EXPECT_NEAR(MeasureFrequency(a2, 44100), 440.0, 0.05);
  EXPECT_EQ(first.VoiceAt(0).Oscillators().Increment1(), 2678267);
}

TEST(Pitch, Oscillator2OffsetAndBendMoveTheIncrements) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(44100, 512);
  const PitchTables tables(44100.0f);

  HeldNote(engine, 60, 0.01);
  const OscillatorPair& oscillators = engine.VoiceAt(0).Oscillators();
  // In unison the two phases keep their distance for ever.
  const int distance = (oscillators.Phase2() - oscillators.Phase1()) & kPhaseMask;
  Render(engine, 12345);
  EXPECT_EQ((oscillators.Phase2() - oscillators.Phase1()) & kPhaseMask, distance);

  SetParameter(engine, p::kOsc2Transpose, 7);
  SetParameter(engine, p::kOsc2Tune, -5);
  SetParameter(engine, p::kMasterTune, 64);
  Render(engine, 44);
  EXPECT_EQ(oscillators.Osc2Offset(), 7 * 128 - 5);
  EXPECT_EQ(oscillators.Increment1(), tables.Increment(7680 + 64));
  EXPECT_EQ(oscillators.Increment2(), tables.Increment(7680 + 64 + 891));

  // PB Range 12: full bend down is an octave; 0x2000 is the centre exactly.
  SetParameter(engine, p::kPitchBendRange, 12);
  SendMidi(engine, 0xE0, 0, 0);
  Render(engine, 44);
  EXPECT_EQ(engine.Bend(), -1.0);
  EXPECT_EQ(oscillators.Increment1(), tables.Increment(7680 + 64 - 1536));
  SendMidi(engine, 0xE0, 0, 64);
  Render(engine, 44);
  EXPECT_EQ(engine.Bend(), 0.0);
  EXPECT_EQ(oscillators.Increment1(), tables.Increment(7680 + 64));
  SendMidi(engine, 0xE0, 127, 127);
  Render(engine, 44);
  EXPECT_EQ(engine.Bend(), 8191.0 / 8192.0);
}

TEST(Pitch, HardSyncRestartsOscillator2OnEveryWrapOfOscillator1) {
  const PitchTables tables(44100.0f);
  for (int offset : {-1, 0, 700, 8000}) {
    OscillatorPair pair;
    pair.SetSync(true);
    pair.SetOsc2Semitones(0);
    pair.SetOsc2Fine(offset);
    pair.SetTables(&tables);
    pair.UpdatePitch(7680, 0.0, 0.0, 0.0);
    const int ratio = (7680 + offset) / 7680;
    EXPECT_EQ(pair.SyncRatio(), ratio) << offset;
    for (int i = 0; i < 1000; ++i) {
      const std::int32_t next1 = pair.Phase1() + pair.Increment1();
      const std::int32_t phase2 = pair.Phase2();
      pair.Next();
      if (next1 > kPhaseMask) {
        // Ratio 0: phase 0. Ratio 1: oscillator 1's overshoot past the wrap.
        ASSERT_EQ(pair.Phase2(), static_cast<std::int32_t>(static_cast<std::int64_t>(next1) * ratio & kPhaseMask));
      } else {
        ASSERT_EQ(pair.Phase2(), (phase2 + pair.Increment2()) & kPhaseMask);
      }
    }
  }

  // Oscillator 1 at or below pitch index 0 (low note, bend and tuning down):
  // no ratio can be formed; oscillator 2 restarts at 0.
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(44100, 512);
  const std::vector<double> out =
      HeldNote(engine, 0, 0.2, {{p::kSync, 1}, {p::kMasterTune, -64}, {p::kPitchBendRange, 12}, {p::kFmAmount, -100}});
  SendMidi(engine, 0xE0, 0, 0);
  const std::vector<double> bent = Render(engine, 4410).left;
  EXPECT_EQ(engine.VoiceAt(0).Oscillators().SyncRatio(), 0.0);
  for (double x : bent) ASSERT_TRUE(std::isfinite(x));
}

TEST(Pitch, GlideReachesTheNoteExactlyAtItsLastTick) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(44100, 44);
  ApplyPlainPatch(engine, {{p::kMonophon, 1}, {p::kPortamento, 0.1}});
  const Voice& voice = engine.VoiceAt(0);

  // After a reset a voice glides from note 48.
  NoteOn(engine, 60);
  Render(engine, 44, 44);
  EXPECT_DOUBLE_EQ(voice.CurrentPitch(), 6144 + (7680 - 6144) / 100.0);
  Render(engine, 44 * 99, 44);
  ASSERT_EQ(voice.CurrentPitch(), 7680);

  NoteOn(engine, 72);
  Render(engine, 44 * 99, 44);  // 99 ticks
  EXPECT_EQ(voice.GlideTicksLeft(), 1);
  EXPECT_NE(voice.CurrentPitch(), 9216);
  EXPECT_NEAR(voice.CurrentPitch(), 9216 - 15.36, 1e-9);
  Render(engine, 44, 44);  // the 100th
  EXPECT_EQ(voice.CurrentPitch(), 9216);
  EXPECT_EQ(voice.Oscillators().Increment1(), PitchTables(44100.0f).Increment(9216));

  // Under one tick of glide time the note starts at its pitch.
  SetParameter(engine, p::kPortamento, 0.0005);
  NoteOn(engine, 48);
  Render(engine, 44, 44);
  EXPECT_EQ(voice.CurrentPitch(), 6144);
  EXPECT_EQ(voice.GlideTicksLeft(), 0);
}

TEST(Pitch, TablesGiveEachPitchTheWaveTableItsIncrementPlaysFrom) {
  for (float rate : {1000.0f, 8000.0f, 44100.0f, 48000.0f, 192000.0f}) {
    const PitchTables tables(rate);
    for (int pitch = -1; pitch <= kMaxPitchIndex + 1; ++pitch) {
      ASSERT_EQ(tables.WaveTable(pitch), WaveTables::TableFor(tables.Increment(pitch))) << rate << " " << pitch;
    }
  }
}

// A pair keeps its increments, wave tables and sync ratio while its pitch
// indices stay; whatever else they depend on must make it choose again. After
// each change the pair must play exactly as a new pair set up the same way.
TEST(Pitch, OscillatorsChooseAgainWhenTablesWaveOrSyncChange) {
  const PitchTables at44100(44100.0f);
  const PitchTables at96000(96000.0f);
  struct Case {
    const char* name;
    void (*change)(OscillatorPair& pair, const PitchTables& other);
  };
  const Case cases[] = {
      {"rate", [](OscillatorPair& pair, const PitchTables& other) { pair.SetTables(&other); }},
      {"wave", [](OscillatorPair& pair, const PitchTables&) { pair.SetWave(kWaveSquare); }},
      {"sync", [](OscillatorPair& pair, const PitchTables&) { pair.SetSync(true); }},
  };
  const auto setUp = [&](OscillatorPair& pair) {
    pair.SetTables(&at44100);
    pair.SetOsc2Semitones(19);
  };
  for (const Case& c : cases) {
    OscillatorPair changed;
    setUp(changed);
    changed.UpdatePitch(6000, 0.0, 0.0, 0.0);
    c.change(changed, at96000);
    changed.UpdatePitch(6000, 0.0, 0.0, 0.0);

    OscillatorPair fresh;
    setUp(fresh);
    c.change(fresh, at96000);
    fresh.UpdatePitch(6000, 0.0, 0.0, 0.0);

    EXPECT_EQ(changed.Increment1(), fresh.Increment1()) << c.name;
    EXPECT_EQ(changed.Increment2(), fresh.Increment2()) << c.name;
    EXPECT_EQ(changed.TableIndex2(), fresh.TableIndex2()) << c.name;
    EXPECT_EQ(changed.SyncRatio(), fresh.SyncRatio()) << c.name;
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(changed.Next(), fresh.Next()) << c.name << " sample " << i;
  }
}
