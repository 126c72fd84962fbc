// The voice filter: DC gain, resonance feedback, the Dirty mode's clipper,
// restarts on a mode change, coefficient caching and its table, and the
// cutoff's ends and glide.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine_parameter.h"
#include "engine/voice_filter.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

struct FilterBench {
  explicit FilterBench(float rate, int mode, double cutoff, double resonance) : tables(rate) {
    filter.BindInputs({&envelope, &lfo, &key, &velocity});
    filter.SetTables(&tables);
    filter.SetMode(mode);
    filter.SetCutoff(cutoff, false);
    filter.SetResonance(resonance);
  }
  // Feeds a constant for n samples and returns the last output.
  double Hold(double x, int n) {
    double y = 0.0;
    for (int i = 0; i < n; ++i) y = filter.Process(x);
    return y;
  }

  PitchTables tables;
  VoiceFilter filter;
  double envelope = 0.0;
  double lfo = 0.0;
  double key = 0.0;
  double velocity = 0.0;
};

}  // namespace

TEST(Filter, SmoothPassesDcWithUnityGainAndResonanceFeedsBackTheOutput) {
  for (float rate : {44100.0f, 96000.0f}) {
    for (double cutoff : {4000.0, 12218.0, 17280.0}) {
      FilterBench bench(rate, VoiceFilter::kSmooth, cutoff, 0.0);
      EXPECT_NEAR(bench.Hold(0.5, 20000), 0.5, 1e-9) << rate << " " << cutoff;
      EXPECT_NEAR(bench.Hold(-0.25, 20000), -0.25, 1e-9);
    }
    // With feedback gain g the loop settles at x / (1 + g) while |y| <= 1
    // (exactly so when the corner is low enough that b^4 vanishes).
    FilterBench resonant(rate, VoiceFilter::kSmooth, 3000.0, 0.5);
    EXPECT_NEAR(resonant.Hold(0.5, 200000), 0.5 / (1.0 + 0.5 * 4.2), 1e-9);
  }
}

TEST(Filter, DirtyClipsInsideTheLoopWhateverTheResonance) {
  for (double resonance : {0.0, 0.5, 1.0}) {
    FilterBench dirty(44100.0f, VoiceFilter::kDirty, 12000.0, resonance);
    double peak = 0.0;
    for (int i = 0; i < 4000; ++i) {
      const double x = (i / 50) % 2 ? 100.0 : -100.0;
      peak = std::max(peak, std::fabs(dirty.filter.Process(x)));
    }
    EXPECT_LE(peak, 1.0 + 1e-9) << resonance;
    EXPECT_GT(peak, 0.9) << resonance;
  }
  // The Smooth mode clips only its feedback estimate: the signal passes.
  FilterBench smooth(44100.0f, VoiceFilter::kSmooth, 12000.0, 0.0);
  EXPECT_NEAR(smooth.Hold(100.0, 5000), 100.0, 1e-6);
}

TEST(Filter, AModeChangeRestartsTheStatesTheSameModeDoesNot) {
  FilterBench bench(44100.0f, VoiceFilter::kSmooth, 9000.0, 0.3);
  bench.Hold(0.7, 100);
  bench.filter.SetMode(VoiceFilter::kSmooth);
  EXPECT_NE(bench.filter.State(0), 1.0);
  EXPECT_NE(bench.filter.State(1), 0.0);

  bench.filter.SetMode(VoiceFilter::kDirty);
  EXPECT_EQ(bench.filter.State(0), 1.0);
  EXPECT_EQ(bench.filter.State(1), 0.0);
  EXPECT_EQ(bench.filter.State(2), -1.0);
  EXPECT_EQ(bench.filter.State(3), 0.0);

  // In a sounding voice the restart also drops any cutoff glide.
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(44100, 512);
  ApplyPlainPatch(engine, {{p::kFilterFrequency, 8000}});
  NoteOn(engine, 60);
  Render(engine, 2000);
  SetParameter(engine, p::kFilterFrequency, 10000);
  SetParameter(engine, p::kFilterMode, 1);
  const VoiceFilter& filter = engine.VoiceAt(0).Filter();
  EXPECT_EQ(filter.Mode(), VoiceFilter::kDirty);
  EXPECT_EQ(filter.CurrentCutoff(), 10000);
  EXPECT_EQ(filter.State(0), 1.0);
  EXPECT_EQ(filter.State(2), -1.0);
}

TEST(Filter, CoefficientsAreComputedOnlyWhenTheCutoffIndexChanges) {
  FilterBench bench(44100.0f, VoiceFilter::kSmooth, 12218.805178903542, 0.2);
  bench.Hold(0.3, 1000);
  EXPECT_EQ(bench.filter.CachedIndex(), 12218);
  EXPECT_EQ(bench.filter.CoefficientUpdates(), 1);

  // Modulation that stays within the same index costs nothing.
  bench.filter.SetEnvelopeAmount(0.1);
  bench.envelope = 1.0;
  bench.Hold(0.3, 1000);
  EXPECT_EQ(bench.filter.CoefficientUpdates(), 1);

  bench.filter.SetResonance(0.4);
  bench.Hold(0.3, 1000);
  EXPECT_EQ(bench.filter.CoefficientUpdates(), 2);

  bench.filter.SetEnvelopeAmount(1000.0);
  bench.Hold(0.3, 10);
  EXPECT_EQ(bench.filter.CachedIndex(), 13218);
  EXPECT_EQ(bench.filter.CoefficientUpdates(), 3);
}

// Every row of the coefficient table the voices read makes a one-pole section
// with unity gain at DC and a stable pole, its corner rising with the index.
TEST(Filter, EveryCoefficientRowIsAStableSectionWithUnityDcGain) {
  for (float rate : {22050.0f, 48000.0f, 192000.0f}) {
    const PitchTables tables(rate);
    double lastB = 0.0;
    for (int index = 0; index <= kMaxPitchIndex; ++index) {
      const FilterCoefficients& row = tables.Filter(index);
      ASSERT_NEAR(2.0 * row.b / (1.0 + row.k), 1.0, 1e-12) << rate << " " << index;
      ASSERT_LT(std::fabs(row.k), 1.0) << rate << " " << index;
      ASSERT_GT(row.b, lastB) << rate << " " << index;
      lastB = row.b;
    }
  }
}

TEST(Filter, CutoffsBeyondTheTableUseItsEnds) {
  const auto response = [](double cutoff, double envelopeAmount) {
    FilterBench bench(48000.0f, VoiceFilter::kDirty, cutoff, 0.6);
    bench.envelope = 1.0;
    bench.filter.SetEnvelopeAmount(envelopeAmount);
    std::vector<double> out;
    for (int i = 0; i < 500; ++i) out.push_back(bench.filter.Process(std::sin(i * 0.3)));
    return out;
  };
  EXPECT_EQ(response(0, -5000), response(0, 0));
  EXPECT_EQ(response(17280, 10753), response(17280, 0));
  EXPECT_NE(response(17000, 0), response(17280, 0));
}

TEST(Filter, CutoffGlidesOver50TicksWhileTheVoiceSounds) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(48000, 48);
  ApplyPlainPatch(engine, {{p::kFilterFrequency, 6000}});
  const VoiceFilter& filter = engine.VoiceAt(0).Filter();

  // Silent voice: at once.
  SetParameter(engine, p::kFilterFrequency, 7000);
  EXPECT_EQ(filter.CurrentCutoff(), 7000);

  NoteOn(engine, 60);
  Render(engine, 48, 48);
  SetParameter(engine, p::kFilterFrequency, 9000);
  EXPECT_EQ(filter.CutoffStep(), 40.0);
  Render(engine, 48 * 49, 48);
  EXPECT_NEAR(filter.CurrentCutoff(), 8960.0, 1e-9);
  Render(engine, 48, 48);
  EXPECT_EQ(filter.CurrentCutoff(), 9000);
  Render(engine, 48 * 5, 48);
  EXPECT_EQ(filter.CurrentCutoff(), 9000);
}
