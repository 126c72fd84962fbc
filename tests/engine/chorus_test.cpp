// The chorus: plain output when off, line lengths, delay glides and the taps'
// positions, limits at full depth, and what an engine reset sets.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/chorus.h"
#include "engine/engine_parameter.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

// Runs the chorus on silence for a number of ticks of B samples.
void RunTicks(Chorus& chorus, int ticks, int blockLength) {
  std::vector<double> mix(blockLength, 0.0), left(blockLength), right(blockLength);
  for (int t = 0; t < ticks; ++t) {
    chorus.Tick();
    chorus.Process(mix.data(), left.data(), right.data(), blockLength);
  }
}

}  // namespace

TEST(Chorus, OffCopiesTheMixScaledByVolumeToBothChannels) {
  for (double volume : {100.0, 50.0, 37.0}) {
    RecordingHost host;
    SynthEngine engine(host);
    engine.Reset(44100, 512);
    ApplyPlainPatch(engine, {{p::kVolume, volume}, {p::kOsc2Tune, 9}});
    NoteOn(engine, 57);
    NoteOn(engine, 64);
    const Stereo out = Render(engine, 4096);
    EXPECT_EQ(out.left, out.right);
    const double e = volume / 100.0;
    EXPECT_DOUBLE_EQ(engine.GetChorus().Gain(), e * e / 2);

    Chorus chorus;
    chorus.Reset(44100);
    chorus.SetGain(e * e / 2);
    const double mix[3] = {0.5, -1.0, 0.25};
    double left[3], right[3];
    chorus.Process(mix, left, right, 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(left[i], mix[i] * (e * e / 2));
      EXPECT_EQ(right[i], left[i]);
    }
  }
}

TEST(Chorus, LineHolds16MillisecondsPlusOneSample) {
  Chorus chorus;
  EXPECT_EQ(chorus.LineLength(), 1);
  chorus.Reset(44100);
  EXPECT_EQ(chorus.LineLength(), 706);
  chorus.Reset(48000);
  EXPECT_EQ(chorus.LineLength(), 769);
  chorus.Reset(96000);
  EXPECT_EQ(chorus.LineLength(), 1537);
}

TEST(Chorus, DepthZeroGlidesEveryTapTo1MillisecondAndTapsTheDryImpulse) {
  Chorus chorus;
  chorus.Reset(44100);
  chorus.SetOn(true);
  chorus.SetGain(1.0);
  chorus.SetDepth(0.0);
  chorus.SetLfoAIncrement(0.01);
  chorus.SetLfoBIncrement(0.003);
  RunTicks(chorus, 1, 44);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(chorus.Delay(k), 44.1 * 0.999 * (44 / 44.1), 1e-9);
  RunTicks(chorus, 20, 44);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(chorus.Delay(k), 44.1, 1e-9);

  // An impulse comes back 43.1 samples later at 0.33 on each tap: taps 1 and 3
  // on the left, 2 and 3 on the right, split over two samples.
  std::vector<double> mix(100, 0.0), left(100), right(100);
  mix[0] = 1.0;
  chorus.Tick();
  chorus.Process(mix.data(), left.data(), right.data(), 100);
  EXPECT_DOUBLE_EQ(left[0], 1.0);
  EXPECT_NEAR(left[43], 2 * 0.33 * 0.9, 1e-9);
  EXPECT_NEAR(left[44], 2 * 0.33 * 0.1, 1e-9);
  EXPECT_EQ(left, right);
  double rest = 0.0;
  for (int i = 1; i < 100; ++i) rest += (i == 43 || i == 44) ? 0.0 : std::fabs(left[i]);
  EXPECT_EQ(rest, 0.0);
}

TEST(Chorus, FullDepthStaysInsideTheLineAndSeparatesTheChannels) {
  for (double rate : {44100.0, 48000.0}) {
    Chorus chorus;
    chorus.Reset(rate);
    chorus.SetOn(true);
    chorus.SetDepth(0.45);
    chorus.SetLfoAIncrement(0.02);
    chorus.SetLfoBIncrement(0.02);
    const int block = static_cast<int>(rate) / 1000;
    double longest = 0.0;
    for (int t = 0; t < 2000; ++t) {
      RunTicks(chorus, 1, block);
      for (int k = 0; k < 3; ++k) longest = std::max(longest, chorus.Delay(k));
    }
    EXPECT_LT(longest, chorus.LineLength() - 1);
    EXPECT_NEAR(longest, 0.0154 * rate, 0.01 * rate * 0.0154) << rate;
  }

  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(48000, 512);
  ApplyPlainPatch(engine, {{p::kChorus, 1}, {p::kChorusDepth, 100}});
  NoteOn(engine, 60);
  const Stereo out = Render(engine, 9600);
  EXPECT_NE(out.left, out.right);
}

TEST(Chorus, EngineResetSetsTheLfoRatesAndDepthUntilTheyAreAppliedAgain) {
  RecordingHost host;
  SynthEngine engine(host);
  SetParameter(engine, p::kChorusDepth, 100);
  SetParameter(engine, p::kChorusLfo1, 100);
  engine.Reset(44100, 512);
  EXPECT_EQ(engine.GetChorus().Depth(), 0.135);
  EXPECT_EQ(engine.GetChorus().LfoA().Increment(), 4.00996e-4);
  EXPECT_EQ(engine.GetChorus().LfoB().Increment(), 0.001400986);
  SetParameter(engine, p::kChorusDepth, 100);
  SetParameter(engine, p::kChorusLfo1, 100);
  SetParameter(engine, p::kChorusLfo2, 0);
  EXPECT_DOUBLE_EQ(engine.GetChorus().Depth(), 0.45);
  EXPECT_DOUBLE_EQ(engine.GetChorus().LfoA().Increment(), 0.0200008);
  EXPECT_DOUBLE_EQ(engine.GetChorus().LfoB().Increment(), 0.000001);
  // Each knob position gives (e * 0.1 * 2 * 99.999 + 0.001) / 1000 per tick to
  // the last bit, multiplied in that order, on both LFOs.
  for (int percent = 0; percent <= 100; ++percent) {
    const double e = percent / 100.0;
    SetParameter(engine, p::kChorusLfo1, percent);
    SetParameter(engine, p::kChorusLfo2, percent);
    const double expected = (e * 0.1 * 2 * 99.999 + 0.001) / 1000;
    EXPECT_EQ(engine.GetChorus().LfoA().Increment(), expected) << percent;
    EXPECT_EQ(engine.GetChorus().LfoB().Increment(), expected) << percent;
  }
  // The same rate again keeps everything.
  engine.Reset(44100, 256);
  EXPECT_DOUBLE_EQ(engine.GetChorus().Depth(), 0.45);
}

// Silence may skip the line once it holds only zeros; a chorus fed the same
// silence sample by sample must stay identical to the bit: outputs, delays and
// the taps of a sound that follows.
TEST(Chorus, SkippedSilenceMatchesSilenceProcessedSampleBySample) {
  for (double depth : {0.0, 0.2, 0.45}) {
    Chorus skipping;
    Chorus processing;
    for (Chorus* chorus : {&skipping, &processing}) {
      chorus->Reset(48000);
      chorus->SetOn(true);
      chorus->SetGain(0.5);
      chorus->SetDepth(depth);
      chorus->SetLfoAIncrement(0.013);
      chorus->SetLfoBIncrement(0.0041);
    }
    std::vector<double> sound(48), silence(48, 0.0);
    for (int i = 0; i < 48; ++i) sound[i] = std::sin(i * 0.37);
    std::vector<double> leftA(48), rightA(48), leftB(48), rightB(48);
    for (int tick = 0; tick < 3000; ++tick) {
      // Sound now and then, long silences between.
      const bool loud = tick % 1000 < 5;
      skipping.Tick();
      processing.Tick();
      if (loud) {
        skipping.Process(sound.data(), leftA.data(), rightA.data(), 48);
      } else {
        skipping.ProcessSilence(leftA.data(), rightA.data(), 48);
      }
      processing.Process(loud ? sound.data() : silence.data(), leftB.data(), rightB.data(), 48);
      ASSERT_EQ(leftA, leftB) << depth << " tick " << tick;
      ASSERT_EQ(rightA, rightB) << depth << " tick " << tick;
      for (int k = 0; k < 3; ++k) ASSERT_EQ(skipping.Delay(k), processing.Delay(k)) << depth << " tick " << tick;
    }
  }
}

// A quarter of a half cycle per tick: the three triangles, 120 degrees apart,
// through a wrap of each phase, written out by hand from p0 = -1, -0.75, ...
TEST(Chorus, LfoGivesThreeTrianglesAThirdOfACycleApartThroughEveryWrap) {
  struct Expected {
    double o0, o1, o2;
  };
  const Expected ticks[] = {
      {1.0, 1.0 / 3, 1.0 / 3}, {0.75, 1.0 / 12, 7.0 / 12},  {0.5, 1.0 / 6, 5.0 / 6}, {0.25, 5.0 / 12, 11.0 / 12},
      {0.0, 2.0 / 3, 2.0 / 3}, {0.25, 11.0 / 12, 5.0 / 12}, {0.5, 5.0 / 6, 1.0 / 6}, {0.75, 7.0 / 12, 1.0 / 12},
      {1.0, 1.0 / 3, 1.0 / 3}, {0.75, 1.0 / 12, 7.0 / 12},  {0.5, 1.0 / 6, 5.0 / 6},
  };
  ChorusLfo lfo;
  lfo.SetIncrement(0.25);
  for (const Expected& expected : ticks) {
    const ChorusLfo::Outputs outputs = lfo.Tick();
    const int tick = static_cast<int>(&expected - ticks);
    EXPECT_NEAR(outputs.value[0], expected.o0, 1e-15) << tick;
    EXPECT_NEAR(outputs.value[1], expected.o1, 1e-15) << tick;
    EXPECT_NEAR(outputs.value[2], expected.o2, 1e-15) << tick;
  }
}
