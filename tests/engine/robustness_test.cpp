// Random MIDI and random parameter values, extreme settings, unusable sample
// rates and rendering before any reset: every sample stays finite and sane,
// nothing hangs, and released voices fall silent.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "engine/engine_parameter.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

constexpr double kSaneLimit = 8.0;

// Checks a block and answers false on the first bad sample.
bool AllSane(const std::vector<double>& samples) {
  for (double x : samples) {
    if (!std::isfinite(x) || std::fabs(x) >= kSaneLimit) return false;
  }
  return true;
}

double RandomValue(std::mt19937& random, int index) {
  const p::Range& range = p::kRanges[index];
  switch (random() % 4) {
    case 0: return range.min;
    case 1: return range.max;
    default: return std::uniform_real_distribution<double>(range.min, range.max)(random);
  }
}

// Notes come from four keys across the whole keyboard. Every sounding voice
// holds a different note, so at most four voices sound (in the mono modes the
// frozen ones are not rendered), and a level of 8 means a blow-up rather than a
// crowd: one voice at full volume, resonance and chorus peaks near 3.
void SendRandomMidi(SynthEngine& engine, std::mt19937& random, int blockSize) {
  static const int kKeys[] = {0, 45, 90, 127};
  static const int kStatuses[] = {0x80, 0x90, 0x90, 0x90, 0xB0, 0xE0, 0xD0, 0xA0, 0xF0};
  static const int kControllers[] = {1, 64, 7, 120, 123, 121};
  const int count = static_cast<int>(random() % 6);
  for (int i = 0; i < count; ++i) {
    const int status = kStatuses[random() % 9] | static_cast<int>(random() % 16);
    int data1 = static_cast<int>(random() % 128);
    const int data2 = static_cast<int>(random() % 128);
    if (status < 0xA0) data1 = kKeys[random() % 4];
    if (status >= 0xB0 && status < 0xC0) data1 = kControllers[random() % 6];
    if (random() % 50 == 0) data1 = static_cast<int>(random() % 256);  // not MIDI
    SendMidi(engine, status, data1, data2, static_cast<int>(random() % (blockSize + 100)));
  }
}

}  // namespace

TEST(Robustness, TwentySecondsOfRandomMidiAndParametersStaySaneAndReleaseToSilence) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    std::mt19937 random(static_cast<unsigned>(rate));
    RecordingHost host;
    SynthEngine engine(host);
    engine.Reset(rate, 1024);
    ApplyPatch(engine);
    const int total = static_cast<int>(rate * 20);
    std::vector<double> left(2048), right(2048);
    for (int done = 0; done < total;) {
      const int n = 1 + static_cast<int>(random() % 1024);
      SendRandomMidi(engine, random, n);
      if (random() % 4 == 0) {
        const int index = static_cast<int>(random() % p::kCount);
        SetParameter(engine, index, RandomValue(random, index));
      }
      engine.RenderBlock(left.data(), right.data(), n);
      left.resize(n);
      right.resize(n);
      ASSERT_TRUE(AllSane(left) && AllSane(right)) << rate << " at " << done;
      left.resize(2048);
      right.resize(2048);
      done += n;
    }

    // A short release, then every rendered voice fades to nothing.
    SetParameter(engine, p::kAmpEnvRelease, 10);
    engine.ReleaseAllVoices();
    const Stereo tail = Render(engine, static_cast<int>(rate));
    for (int v = 0; v < engine.ActiveVoiceCount(); ++v) EXPECT_FALSE(engine.VoiceAt(v).IsSounding()) << v;
    const std::size_t lastQuarter = tail.left.size() * 3 / 4;
    EXPECT_EQ(PeakAbs(tail.left, lastQuarter), 0.0) << rate;
    EXPECT_EQ(PeakAbs(tail.right, lastQuarter), 0.0) << rate;
  }
}

TEST(Robustness, ExtremeSettingsOnAFullChordStayFinite) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(44100, 512);
  auto playChord = [&]() {
    for (int note : {0, 45, 90, 127}) NoteOn(engine, note, 127);
    SendMidi(engine, 0xB0, 1, 127);
    SendMidi(engine, 0xE0, 127, 127);
    const Stereo out = Render(engine, 8820);
    engine.ReleaseAllVoices();
    Render(engine, 441);
    return AllSane(out.left) && AllSane(out.right);
  };
  for (bool useMax : {false, true}) {
    for (int index = 0; index < p::kCount; ++index) {
      SetParameter(engine, index, useMax ? p::kRanges[index].max : p::kRanges[index].min);
    }
    SetParameter(engine, p::kVolume, 100);
    EXPECT_TRUE(playChord()) << (useMax ? "all at max" : "all at min");
  }
  for (int index = 0; index < p::kCount; ++index) {
    for (double value : {p::kRanges[index].min, p::kRanges[index].max}) {
      ApplyPatch(engine, {{p::kVolume, 100}, {p::kFilterResonance, 100}, {p::kChorus, 1}, {index, value}});
      EXPECT_TRUE(playChord()) << "parameter " << index << " at " << value;
    }
  }
  // Values outside every range, and not numbers at all, are clamped.
  for (int index = 0; index < p::kCount; ++index) {
    engine.ApplyParameter(index, 1e300, 1e300);
    engine.ApplyParameter(index, -1e300, -5.0);
    engine.ApplyParameter(index, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
  }
  engine.ApplyParameter(-1, 0, 0);
  engine.ApplyParameter(32, 0, 0);
  SetParameter(engine, p::kVolume, 100);
  EXPECT_TRUE(playChord());

  // All 64 voices on the loudest resonant patch: louder than 8 by design, but
  // finite.
  ApplyPatch(engine, {{p::kVolume, 100}, {p::kFilterResonance, 100}, {p::kFilterFrequency, 17280}, {p::kChorus, 1}});
  for (int note = 0; note < 128; note += 2) NoteOn(engine, note, 127);
  const Stereo crowd = Render(engine, 22050);
  for (double x : crowd.left) ASSERT_TRUE(std::isfinite(x));
  for (double x : crowd.right) ASSERT_TRUE(std::isfinite(x));
}

TEST(Robustness, UnusableSampleRatesRenderSilenceAndRecover) {
  RecordingHost host;
  SynthEngine engine(host);
  ApplyPatch(engine);
  NoteOn(engine, 60);  // dropped: nothing can render it
  Stereo out = Render(engine, 1000);
  EXPECT_EQ(PeakAbs(out.left), 0.0);
  EXPECT_EQ(engine.Queue().Pending(), 0);

  for (double rate : {999.0, 500.0, 0.0, -44100.0, 1e12, std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::infinity()}) {
    engine.Reset(rate, 512);
    EXPECT_FALSE(engine.IsPrepared()) << rate;
    NoteOn(engine, 60);
    out = Render(engine, 3000, 333);
    EXPECT_EQ(PeakAbs(out.left), 0.0) << rate;
    EXPECT_EQ(PeakAbs(out.right), 0.0) << rate;
  }

  // The lowest usable rate: one-sample control blocks.
  engine.Reset(1000, 0);
  EXPECT_EQ(engine.ControlBlockLength(), 1);
  ApplyPatch(engine, {{p::kChorus, 1}, {p::kVolume, 100}});
  NoteOn(engine, 100, 127);
  out = Render(engine, 3000, 7);
  EXPECT_TRUE(AllSane(out.left) && AllSane(out.right));
  EXPECT_GT(PeakAbs(out.left), 0.0);

  engine.Reset(44100, -5);
  NoteOn(engine, 60);
  out = Render(engine, 4410);
  EXPECT_GT(PeakAbs(out.left), 0.0);
  EXPECT_TRUE(AllSane(out.left));
}
