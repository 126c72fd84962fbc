#include <gtest/gtest.h>

#include "product/vorn.h"
#include "tests/synth/test_host.h"

namespace {

MidiMessage Controller(std::uint8_t number, std::uint8_t value) { return MidiMessage{0, 0xB0, number, value}; }

struct Learner {
  Learner() : vorn(TestHost::Callback) {
    vorn.FillEmptyPresets(64);
    vorn.SetSampleRate(44100);
    vorn.ResetEngine();
  }
  // Runs a control tick so that queued controllers are consumed.
  void Tick() {
    double left[64], right[64];
    double* outputs[2] = {left, right};
    vorn.RenderBlock(nullptr, outputs, 64);
  }
  TestHost host;
  ScopedTestHost scoped{host};
  Vorn vorn;
};

TEST(MidiLearn, ControllerThenParameterOrTheOtherWayRound) {
  Learner a;
  a.vorn.ArmMidiLearn(true, false);
  a.vorn.HandleMidiMessage(Controller(74, 10));  // consumed by learning
  EXPECT_TRUE(a.vorn.IsMidiLearnArmed());
  a.vorn.SetParameterFromEditor(12, 0.3);
  EXPECT_FALSE(a.vorn.IsMidiLearnArmed());
  EXPECT_EQ(a.vorn.ControllerTarget(74), 12);

  Learner b;
  b.vorn.ArmMidiLearn(true, false);
  b.vorn.SetParameterFromEditor(12, 0.3);
  b.vorn.HandleMidiMessage(Controller(74, 10));
  EXPECT_EQ(b.vorn.ControllerTarget(74), 12);

  // Learning the same parameter again moves it to the new controller.
  b.vorn.ArmMidiLearn(true, false);
  b.vorn.HandleMidiMessage(Controller(71, 10));
  b.vorn.SetParameterFromEditor(12, 0.4);
  EXPECT_EQ(b.vorn.ControllerTarget(74), -1);
  EXPECT_EQ(b.vorn.ControllerTarget(71), 12);
}

TEST(MidiLearn, UnlearnByControllerOrByParameter) {
  Learner l;
  l.vorn.BindController(71, 12);
  l.vorn.BindController(72, 12);
  l.vorn.BindController(73, 5);
  l.vorn.ArmMidiLearn(true, true);
  l.vorn.HandleMidiMessage(Controller(71, 0));
  EXPECT_EQ(l.vorn.ControllerTarget(71), -1);
  EXPECT_EQ(l.vorn.ControllerTarget(72), 12);
  EXPECT_FALSE(l.vorn.IsMidiLearnArmed());
  EXPECT_FALSE(l.vorn.IsUnlearnMode());

  l.vorn.ArmMidiLearn(true, true);
  l.vorn.SetParameterFromEditor(12, 0.5);
  EXPECT_EQ(l.vorn.ControllerTarget(72), -1);
  EXPECT_EQ(l.vorn.ControllerTarget(73), 5);
}

TEST(MidiLearn, BoundControllersDriveTheirParameter) {
  Learner l;
  l.vorn.BindController(74, 13);
  l.vorn.HandleMidiMessage(Controller(74, 127));
  l.Tick();
  EXPECT_EQ(l.vorn.GetParam(13)->Value(), 100.0);
  EXPECT_EQ(l.host.calls[vst2::audioMasterAutomate], 1);  // the host hears it as an edit

  l.vorn.HandleMidiMessage(Controller(74, 127));  // the same value again changes nothing
  l.Tick();
  EXPECT_EQ(l.host.calls[vst2::audioMasterAutomate], 1);

  l.vorn.HandleMidiMessage(Controller(74, 0));
  l.Tick();
  EXPECT_EQ(l.vorn.GetParam(13)->Value(), 0.0);

  l.vorn.BindController(20, 99);  // a hand-edited entry outside the parameters is never applied
  l.vorn.HandleMidiMessage(Controller(20, 64));
  l.Tick();
  EXPECT_EQ(l.host.calls[vst2::audioMasterAutomate], 2);
}

TEST(MidiLearn, AProgramChangeWhileArmedTakesPartInLearning) {
  Learner waiting;
  waiting.vorn.ArmMidiLearn(true, false);
  waiting.vorn.SelectPreset(3);  // applies parameters 0..31 in order
  EXPECT_TRUE(waiting.vorn.IsMidiLearnArmed());
  waiting.vorn.HandleMidiMessage(Controller(30, 1));
  EXPECT_EQ(waiting.vorn.ControllerTarget(30), 31);

  Learner heard;
  heard.vorn.ArmMidiLearn(true, false);
  heard.vorn.HandleMidiMessage(Controller(30, 1));
  heard.vorn.SelectPreset(3);
  EXPECT_EQ(heard.vorn.ControllerTarget(30), 0);
  EXPECT_FALSE(heard.vorn.IsMidiLearnArmed());
}

TEST(MidiLearn, ResetDisarmsButKeepsWhatWasHeard) {
  Learner l;
  l.vorn.ArmMidiLearn(true, false);
  l.vorn.HandleMidiMessage(Controller(40, 1));
  l.vorn.ResetEngine();
  EXPECT_FALSE(l.vorn.IsMidiLearnArmed());
  l.vorn.SetParameterFromEditor(3, 0.5);
  EXPECT_EQ(l.vorn.ControllerTarget(40), -1);
}

}  // namespace
