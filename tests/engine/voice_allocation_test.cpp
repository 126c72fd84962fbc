// Which voice a note takes, how keys, the sustain pedal and the mono modes
// release and return, and how controllers and program changes are routed.
#include <gtest/gtest.h>

#include "engine/engine_parameter.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

constexpr int kRate = 48000;
constexpr int kTick = 48;

class VoiceAllocation : public ::testing::Test {
 protected:
  VoiceAllocation() : engine(host) {
    engine.Reset(kRate, 512);
    ApplyPlainPatch(engine, {{p::kAmpVelocity, 100}});
  }

  // Renders one control block so queued events are dispatched.
  void Tick() { Render(engine, kTick, kTick); }

  int VoiceOf(int note) const {
    for (int v = 0; v < SynthEngine::kVoiceCount; ++v) {
      if (engine.VoiceAt(v).Note() == note && engine.VoiceAt(v).IsSounding()) return v;
    }
    return -1;
  }

  RecordingHost host;
  SynthEngine engine;
};

}  // namespace

TEST_F(VoiceAllocation, RestrikesASoundingNotesVoiceElseTakesTheFirstFreeOne) {
  NoteOn(engine, 60);
  NoteOn(engine, 64);
  Tick();
  EXPECT_EQ(VoiceOf(60), 0);
  EXPECT_EQ(VoiceOf(64), 1);

  // Key up but still releasing: the same voice restarts.
  SetParameter(engine, p::kAmpEnvRelease, 100);
  NoteOff(engine, 60);
  Tick();
  ASSERT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kRelease);
  NoteOn(engine, 60);
  Tick();
  EXPECT_EQ(VoiceOf(60), 0);
  EXPECT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kAttack);
  EXPECT_EQ(engine.VoiceAt(0).Counter(), 3);

  // Once voice 0 has fallen silent it is the first free voice again.
  SetParameter(engine, p::kAmpEnvRelease, 0);
  NoteOff(engine, 60);
  Render(engine, kRate / 10);
  ASSERT_TRUE(engine.VoiceAt(0).IsFree());
  NoteOn(engine, 67);
  Tick();
  EXPECT_EQ(VoiceOf(67), 0);
  EXPECT_EQ(VoiceOf(64), 1);
}

TEST_F(VoiceAllocation, StealsTheOldestNoteWhenAllVoicesAreBusy) {
  for (int note = 0; note < 64; ++note) NoteOn(engine, note + 20);
  Tick();
  for (int v = 0; v < 64; ++v) ASSERT_EQ(VoiceOf(v + 20), v);
  // Restriking note 22 makes voice 2 the newest.
  NoteOn(engine, 22);
  NoteOn(engine, 100);
  NoteOn(engine, 101);
  NoteOn(engine, 102);
  Tick();
  EXPECT_EQ(VoiceOf(100), 0);
  EXPECT_EQ(VoiceOf(101), 1);
  EXPECT_EQ(VoiceOf(102), 3);
  EXPECT_EQ(VoiceOf(22), 2);
}

TEST_F(VoiceAllocation, SustainPedalHoldsReleasedKeysUntilItIsLifted) {
  SendMidi(engine, 0xB0, 64, 127);
  NoteOn(engine, 60);
  NoteOff(engine, 60);
  Render(engine, kRate / 10);
  const Voice& voice = engine.VoiceAt(0);
  EXPECT_FALSE(voice.IsKeyDown());
  EXPECT_TRUE(voice.IsSustained());
  EXPECT_TRUE(voice.IsSounding());
  EXPECT_EQ(voice.AmpEnvelope().Level(), 1.0);

  SendMidi(engine, 0xB0, 64, 0);
  Tick();
  EXPECT_FALSE(voice.IsSustained());
  EXPECT_EQ(voice.AmpEnvelope().CurrentStage(), Envelope::kRelease);
  Render(engine, kRate / 10);
  EXPECT_FALSE(voice.IsSounding());
  EXPECT_TRUE(host.mapped.empty());

  // A key still down when the pedal lifts keeps sounding.
  SendMidi(engine, 0xB0, 64, 90);
  NoteOn(engine, 62);
  SendMidi(engine, 0xB0, 64, 0);
  Render(engine, kRate / 10);
  EXPECT_TRUE(engine.VoiceAt(0).IsSounding());
  EXPECT_TRUE(engine.VoiceAt(0).IsKeyDown());
}

TEST_F(VoiceAllocation, NoteOnWithVelocityZeroReleases) {
  NoteOn(engine, 60);
  Tick();
  ASSERT_TRUE(engine.VoiceAt(0).IsKeyDown());
  NoteOn(engine, 60, 0);
  Tick();
  EXPECT_FALSE(engine.VoiceAt(0).IsKeyDown());
  EXPECT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kRelease);
  EXPECT_TRUE(engine.HeldNotes().Empty());
}

TEST_F(VoiceAllocation, MonoReturnsToTheHighestHeldKeyWithItsVelocity) {
  SetParameter(engine, p::kMonophon, 1);
  const Voice& voice = engine.VoiceAt(0);

  NoteOn(engine, 60, 40);
  NoteOn(engine, 64, 100);
  Tick();
  EXPECT_EQ(voice.Note(), 64);
  NoteOff(engine, 64);
  Tick();
  EXPECT_EQ(voice.Note(), 60);
  EXPECT_TRUE(voice.IsKeyDown());
  EXPECT_DOUBLE_EQ(voice.VelocityFactor(), 40 / 127.0);
  EXPECT_DOUBLE_EQ(voice.CurrentPitch(), 60 * 128);

  NoteOff(engine, 60);
  Tick();
  EXPECT_FALSE(voice.IsKeyDown());
  EXPECT_EQ(voice.AmpEnvelope().CurrentStage(), Envelope::kRelease);

  // The other order: the lower key was struck last.
  NoteOn(engine, 64, 100);
  NoteOn(engine, 60, 40);
  NoteOn(engine, 50, 70);
  Tick();
  EXPECT_EQ(voice.Note(), 50);
  NoteOff(engine, 50);
  Tick();
  EXPECT_EQ(voice.Note(), 64);
  EXPECT_DOUBLE_EQ(voice.VelocityFactor(), 100 / 127.0);
  // Releasing a key that is not sounding changes nothing.
  NoteOff(engine, 60);
  Tick();
  EXPECT_EQ(voice.Note(), 64);
  EXPECT_TRUE(voice.IsKeyDown());
  for (int v = 1; v < 64; ++v) EXPECT_TRUE(engine.VoiceAt(v).IsFree());
}

TEST_F(VoiceAllocation, SingleTriggerKeepsTheEnvelopeOfALegatoLineMultipleRestartsIt) {
  SetParameter(engine, p::kAmpEnvSustain, 0);
  SetParameter(engine, p::kAmpEnvDecay, 20);
  const Voice& voice = engine.VoiceAt(0);

  for (int mode : {1, 2}) {
    SetParameter(engine, p::kMonophon, mode);
    NoteOn(engine, 60);
    Render(engine, kRate / 20);
    ASSERT_EQ(voice.AmpEnvelope().CurrentStage(), Envelope::kDecay);
    const double before = voice.AmpEnvelope().Level();
    NoteOn(engine, 67);  // legato: 60 is still down
    Tick();
    EXPECT_EQ(voice.Note(), 67);
    if (mode == 2) {
      EXPECT_EQ(voice.AmpEnvelope().CurrentStage(), Envelope::kDecay);
      EXPECT_LT(voice.AmpEnvelope().Level(), before);
    } else {
      EXPECT_EQ(voice.AmpEnvelope().CurrentStage(), Envelope::kAttack);
    }
    // A detached note restarts the envelopes in both modes.
    engine.ReleaseAllVoices();
    Tick();
    NoteOn(engine, 62);
    Tick();
    EXPECT_EQ(voice.AmpEnvelope().CurrentStage(), Envelope::kAttack);
    engine.ReleaseAllVoices();
    Render(engine, kRate / 10);
  }
}

TEST_F(VoiceAllocation, SwitchingPolyphonyReleasesEveryVoiceButNotBetweenMonoModes) {
  NoteOn(engine, 60);
  NoteOn(engine, 64);
  Tick();
  SetParameter(engine, p::kMonophon, 1);
  EXPECT_EQ(engine.ActiveVoiceCount(), 1);
  EXPECT_TRUE(engine.HeldNotes().Empty());
  for (int v : {0, 1}) {
    EXPECT_FALSE(engine.VoiceAt(v).IsKeyDown());
    EXPECT_EQ(engine.VoiceAt(v).AmpEnvelope().CurrentStage(), Envelope::kRelease);
  }
  // Voice 1 is no longer ticked or rendered: its state waits as it was.
  const double frozen = engine.VoiceAt(1).AmpEnvelope().Level();
  Render(engine, kRate / 10);
  EXPECT_EQ(engine.VoiceAt(1).AmpEnvelope().Level(), frozen);
  EXPECT_TRUE(engine.VoiceAt(1).IsSounding());
  EXPECT_FALSE(engine.VoiceAt(0).IsSounding());
  for (int v = 0; v < 64; ++v) EXPECT_EQ(engine.VoiceAt(v).TriggerModeValue(), 1);

  NoteOn(engine, 62);
  Tick();
  SetParameter(engine, p::kMonophon, 2);
  EXPECT_TRUE(engine.VoiceAt(0).IsKeyDown());
  EXPECT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kAttack);
  EXPECT_EQ(engine.VoiceAt(63).TriggerModeValue(), 2);

  SetParameter(engine, p::kMonophon, 0);
  EXPECT_EQ(engine.ActiveVoiceCount(), 64);
  EXPECT_FALSE(engine.VoiceAt(0).IsKeyDown());
  EXPECT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kRelease);
}

TEST_F(VoiceAllocation, ControllersAreLearnedQueuedOrActedOnAtOnce) {
  NoteOn(engine, 60);
  NoteOn(engine, 64);
  Tick();

  // While learn is armed, 0..119 go to the learn step only; 120 and 123 still
  // release everything at once.
  host.learnArmed = true;
  SendMidi(engine, 0xB3, 7, 100);
  SendMidi(engine, 0xB0, 1, 127);
  SendMidi(engine, 0xB0, 123, 0);
  EXPECT_EQ(host.offered, (std::vector<int>{7, 1}));
  EXPECT_EQ(engine.Queue().Pending(), 0);
  EXPECT_FALSE(engine.VoiceAt(0).IsKeyDown());
  EXPECT_FALSE(engine.VoiceAt(1).IsKeyDown());
  NoteOn(engine, 67);
  Tick();
  SendMidi(engine, 0xB0, 120, 0);
  EXPECT_FALSE(engine.VoiceAt(2).IsKeyDown());
  EXPECT_TRUE(engine.HeldNotes().Empty());

  // Disarmed: queued, and dispatched at the tick.
  host.learnArmed = false;
  SendMidi(engine, 0xB0, 7, 100);
  SendMidi(engine, 0xB5, 1, 127);
  SendMidi(engine, 0xB0, 121, 0);
  SendMidi(engine, 0xB0, 125, 0);
  EXPECT_TRUE(host.mapped.empty());
  EXPECT_EQ(engine.Queue().Pending(), 2);
  Tick();
  ASSERT_EQ(host.mapped.size(), 1u);
  EXPECT_EQ(host.mapped[0].first, 7);
  EXPECT_DOUBLE_EQ(host.mapped[0].second, 100 / 127.0);
  EXPECT_EQ(engine.ModulationWheel(), 1.0);

  // Program changes go straight to the host, on any channel.
  SendMidi(engine, 0xC9, 17, 0);
  EXPECT_EQ(host.programs, (std::vector<int>{17}));
}

TEST_F(VoiceAllocation, IgnoresMessagesThatAreNotChannelMidi) {
  SendMidi(engine, 0x40, 60, 100);   // no status byte
  SendMidi(engine, 0xF8, 60, 100);   // system real-time
  SendMidi(engine, 0xA0, 60, 100);   // polyphonic pressure
  SendMidi(engine, 0x90, 200, 100);  // data byte out of range
  SendMidi(engine, 0x90, 60, 128);
  SendMidi(engine, 0xC0, 130, 0);
  SendMidi(engine, 0xB0, 7, 255);
  EXPECT_EQ(engine.Queue().Pending(), 0);
  EXPECT_TRUE(host.programs.empty());
  EXPECT_TRUE(host.offered.empty());
  Tick();
  for (int v = 0; v < 64; ++v) EXPECT_TRUE(engine.VoiceAt(v).IsFree());
}
