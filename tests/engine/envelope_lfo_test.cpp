// Envelope segment timing and sustain switching; the LFO's waves, its first
// sample-and-hold value and its parameters.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine_parameter.h"
#include "engine/envelope.h"
#include "engine/lfo.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

// Steps until the stage changes; answers the number of steps taken.
int StepsUntilStageChanges(Envelope& envelope, int limit = 100000000) {
  const Envelope::Stage stage = envelope.CurrentStage();
  int steps = 0;
  while (envelope.CurrentStage() == stage && steps < limit) {
    envelope.Step();
    ++steps;
  }
  return steps;
}

}  // namespace

TEST(Envelope, AttackAndReleaseTimesFollowTheSetting) {
  Envelope envelope;
  envelope.Reset(44100);
  envelope.SetAttack(0.0);
  envelope.SetSustain(1);
  envelope.StartAttack();
  EXPECT_NEAR(envelope.Coefficient(), 0.010418, 1e-6);
  EXPECT_EQ(StepsUntilStageChanges(envelope), 220);
  EXPECT_EQ(envelope.Level(), 1.0);
  EXPECT_EQ(envelope.CurrentStage(), Envelope::kDecay);

  // 10^(4.5 x - 2.3) seconds from 1 to 0: 0.89 s at 0.5, at two sample rates.
  for (double rate : {44100.0, 96000.0}) {
    Envelope release;
    release.Reset(rate);
    release.SetAttack(0.0);
    release.SetSustain(1);
    release.SetRelease(0.5);
    release.StartAttack();
    StepsUntilStageChanges(release);
    release.StartRelease();
    const double seconds = StepsUntilStageChanges(release) / rate;
    EXPECT_NEAR(seconds, std::pow(10.0, 0.5 * 4.5 - 2.3), 0.002) << rate;
    EXPECT_EQ(release.Level(), 0.0);
    EXPECT_EQ(release.CurrentStage(), Envelope::kIdle);
  }
}

TEST(Envelope, SustainHoldsFullLevelAndSwitchingItOffDecaysWithoutANewAttack) {
  for (double decay : {0.0, 0.5, 1.0}) {
    Envelope envelope;
    envelope.Reset(48000);
    envelope.SetDecay(decay);
    envelope.SetSustain(1);
    envelope.StartAttack();
    StepsUntilStageChanges(envelope);
    for (int i = 0; i < 48000; ++i) {
      envelope.Step();
      ASSERT_EQ(envelope.Level(), 1.0);
    }
    envelope.SetSustain(0);
    EXPECT_EQ(envelope.Target(), 0.0);
    double previous = envelope.Level();
    for (int i = 0; i < 1000; ++i) {
      envelope.Step();
      ASSERT_LT(envelope.Level(), previous);
      previous = envelope.Level();
    }
    EXPECT_EQ(envelope.CurrentStage(), Envelope::kDecay);
  }
}

TEST(Envelope, ReleaseFromHalfLevelFollowsTheSameCurveAsFromFull) {
  Envelope full;
  full.Reset(44100);
  full.SetSustain(1);
  full.SetRelease(0.3);
  full.StartAttack();
  StepsUntilStageChanges(full);
  full.StartRelease();
  int toHalf = 0;
  while (full.Level() > 0.5) {
    full.Step();
    ++toHalf;
  }
  const int rest = StepsUntilStageChanges(full);

  Envelope half;
  half.Reset(44100);
  half.SetSustain(0);
  half.SetDecay(0.3);
  half.SetRelease(0.3);
  half.StartAttack();
  StepsUntilStageChanges(half);
  while (half.Level() > 0.5) half.Step();
  half.StartRelease();
  const int fromHalf = StepsUntilStageChanges(half);
  EXPECT_LT(fromHalf, toHalf + rest);
  EXPECT_NEAR(fromHalf, rest, 1);

  // An idle envelope asked to release goes back to idle at its next step.
  Envelope idle;
  idle.Reset(44100);
  idle.StartRelease();
  idle.Step();
  EXPECT_EQ(idle.CurrentStage(), Envelope::kIdle);
  EXPECT_EQ(idle.Level(), 0.0);
}

// Settled means a step would change neither level nor stage, checked at every
// step of whole notes: attacks, a decay that holds at full level, a decay
// towards zero that ends standing on the smallest subnormal, and releases.
TEST(Envelope, SettledExactlyWhenAStepWouldChangeNothing) {
  struct Case {
    double attack;
    double decay;
    double sustain;
    double release;
    int heldSteps;
  };
  const Case cases[] = {
      {0.0, 0.0, 1.0, 0.0, 2000},
      {0.1, 0.3, 1.0, 0.2, 30000},
      {0.0, 0.0, 0.0, 0.0, 120000},
      {0.05, 0.2, 0.0, 0.1, 5000},
  };
  for (const Case& c : cases) {
    Envelope envelope;
    envelope.Reset(48000.0);
    envelope.SetAttack(c.attack);
    envelope.SetDecay(c.decay);
    envelope.SetSustain(c.sustain);
    envelope.SetRelease(c.release);
    int settledSteps = 0;
    const auto checkSteps = [&](int steps) {
      for (int i = 0; i < steps; ++i) {
        Envelope stepped = envelope;
        stepped.Step();
        const bool unchanged = stepped.Level() == envelope.Level() && stepped.CurrentStage() == envelope.CurrentStage();
        ASSERT_EQ(envelope.IsSettled(), unchanged) << c.heldSteps << " step " << i << " level " << envelope.Level();
        settledSteps += unchanged;
        envelope.Step();
      }
    };
    envelope.StartAttack();
    checkSteps(c.heldSteps);
    envelope.StartRelease();
    checkSteps(100000);
    EXPECT_EQ(envelope.CurrentStage(), Envelope::kIdle);
    EXPECT_GT(settledSteps, 0) << c.heldSteps;
  }
}

TEST(Lfo, WavesFollowThePhase) {
  Lfo triangle;
  triangle.SetIncrement(0.25);
  const double expected[] = {1.0, 0.5, 0.0, -0.5, -1.0, -0.5, 0.0, 0.5, 1.0};
  for (double value : expected) {
    triangle.Tick();
    EXPECT_DOUBLE_EQ(triangle.Output(), value);
  }

  Lfo square;
  square.SetWave(Lfo::kSquare);
  square.SetIncrement(0.25);
  const double squareExpected[] = {1, 1, 1, 1, -1, -1, -1, -1, 1};
  for (double value : squareExpected) {
    square.Tick();
    EXPECT_EQ(square.Output(), value);
  }

  // Frequency 0 holds phase and output.
  Lfo held;
  held.SetIncrement(0.0);
  for (int i = 0; i < 10; ++i) {
    held.Tick();
    EXPECT_EQ(held.Output(), 1.0);
    EXPECT_EQ(held.Phase(), -1.0);
  }
}

TEST(Lfo, SampleAndHoldDrawsAtStartAndAtEveryWrap) {
  Lfo lfo;
  lfo.SetWave(Lfo::kSampleAndHold);
  lfo.SetIncrement(0.0);
  lfo.Tick();
  EXPECT_EQ(lfo.Output(), 0.0);  // no increment: nothing drawn yet

  lfo.SetIncrement(0.5);
  lfo.Tick();
  const double first = 16807 * 4.6566129e-10;
  EXPECT_DOUBLE_EQ(lfo.Output(), first);
  for (int i = 0; i < 3; ++i) {
    lfo.Tick();
    EXPECT_DOUBLE_EQ(lfo.Output(), first);
  }
  lfo.Tick();  // the phase wrapped at the previous tick
  EXPECT_DOUBLE_EQ(lfo.Output(), 282475249 * 4.6566129e-10);
  for (int i = 0; i < 4; ++i) lfo.Tick();
  EXPECT_DOUBLE_EQ(lfo.Output(), 1622647863 * 4.6566129e-10);
  // 16807^4 wraps around in 32 bits to a negative state.
  for (int i = 0; i < 4; ++i) lfo.Tick();
  EXPECT_DOUBLE_EQ(lfo.Output(), -1199696159 * 4.6566129e-10);
}

// Each LFO draws its own sequence: one that has drawn many values does not
// move another's first draw (instances in one process sound as they do alone).
TEST(Lfo, SampleAndHoldSequenceIsEachLfosOwn) {
  Lfo busy;
  busy.SetWave(Lfo::kSampleAndHold);
  busy.SetIncrement(1.0);
  for (int i = 0; i < 100; ++i) busy.Tick();

  Lfo fresh;
  fresh.SetWave(Lfo::kSampleAndHold);
  fresh.SetIncrement(0.5);
  fresh.Tick();
  busy.Tick();
  EXPECT_DOUBLE_EQ(fresh.Output(), 16807 * 4.6566129e-10);
  EXPECT_NE(busy.Output(), fresh.Output());
}

TEST(Lfo, FrequencyIsInHertzWithMillisecondTicks) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(48000, 480);
  ApplyPlainPatch(engine, {{p::kLfoFrequency, 1.0}, {p::kLfoWave, 1}});
  EXPECT_EQ(engine.GetLfo().Increment(), 0.002);
  const double startPhase = engine.GetLfo().Phase();
  Render(engine, 48000, 480);
  EXPECT_NEAR(engine.GetLfo().Phase(), startPhase, 1e-9);

  // Every knob position gives the increment 2 * f / 1000 to the last bit: one
  // bit off is a phase that drifts from the one a saved song was made with.
  for (int step = 0; step <= 9999; ++step) {
    const double hertz = 0.001 + step * 0.01;
    SetParameter(engine, p::kLfoFrequency, hertz);
    ASSERT_EQ(engine.GetLfo().Increment(), 2 * hertz / 1000) << hertz;
  }
}
