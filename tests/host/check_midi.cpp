// MIDI from the host's event lists: notes reach the engine at the control
// tick their frame offset leads to, program changes act at once, and lists
// with entries the plug-in does not play are taken without harm.
#include <string>

#include "tests/host/audio_render.h"
#include "tests/host/checks.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kBlockSize = 1024;
constexpr double kAudible = 1e-3;
// Below this a rendered sample counts as silence: the engine's silence is
// exact zeros, the first samples of a note are not.
constexpr double kSilence = 1e-9;
constexpr int kMillisecondsPerSecond = 1000;

// The control tick at which the event queue dispatches a lone event that
// arrived with `delta` in a host block starting on a control block. Offsets
// beyond one control block are first moved half a block later, which rounds
// them to the nearest tick; every tick then dispatches what lies within its
// control block and moves the rest B samples closer. (Taking B off the first
// waiting event a second time per tick would fire it at about half its
// offset, and at a lag that depends on its place in the queue.)
int DispatchTick(int delta, int controlBlock) {
  int offset = delta > controlBlock ? delta + controlBlock / 2 : delta;
  int tick = 0;
  for (; offset > controlBlock; offset -= controlBlock) ++tick;
  return tick;
}

vst2::IntPtr Send(const PluginInstance& instance, EventList& events) {
  return instance.Dispatch(vst2::effProcessEvents, 0, 0, events.Events());
}

void CheckOnset(CheckContext& context, float sampleRate, int delta) {
  CheckReport& report = context.report;
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Start(sampleRate, kBlockSize);
  instance.SelectProgram(vorn_facts::kInitProgram);
  EventList events;
  events.Midi(delta, kNoteOn, 60, 100);
  Send(instance, events);
  StereoAudio audio = Render(instance, AudioPath::kFloatReplacing, 2 * kBlockSize, kBlockSize);

  int controlBlock = static_cast<int>(sampleRate) / kMillisecondsPerSecond;
  int expected = DispatchTick(delta, controlBlock) * controlBlock;
  int onset = FirstFrameAbove(audio, kSilence);
  std::string what =
      "note-on with delta " + std::to_string(delta) + " at " + Number(sampleRate) + " Hz: first sounding frame";
  report.Check(onset >= expected && onset < expected + controlBlock, what,
               "in [" + std::to_string(expected) + ", " + std::to_string(expected + controlBlock) + ")",
               std::to_string(onset));
  report.True(Peak(audio) > kAudible, "note-on with delta " + std::to_string(delta) + " sounds",
              "peak " + Number(Peak(audio)));
}

void CheckNotes(CheckReport& report, const PluginInstance& instance) {
  StereoAudio quiet = Render(instance, AudioPath::kFloatReplacing, kBlockSize, kBlockSize);
  report.True(Peak(quiet) == 0.0, "silence before any note", "peak " + Number(Peak(quiet)));

  EventList junk;
  char dump[] = {static_cast<char>(0xF0), 0x7E, 0x7F, 0x06, 0x01, static_cast<char>(0xF7)};
  junk.Null().SysEx(0, dump, sizeof(dump)).Unknown(0).Midi(0, 0xA0, 60, 100).Midi(0, 0xF8, 0, 0);
  report.Step("effProcessEvents with null entry, sysex, unknown type");
  report.Equal("effProcessEvents with entries that play nothing: answer", 1, Send(instance, junk));
  StereoAudio still = Render(instance, AudioPath::kFloatReplacing, kBlockSize, kBlockSize);
  report.True(Peak(still) == 0.0, "null, sysex, unknown-type, poly-pressure and clock events play nothing",
              "peak " + Number(Peak(still)));
  EventList none;
  report.Equal("effProcessEvents with an empty list: answer", 1, Send(instance, none));
  EventList lying;
  lying.Midi(0, kNoteOff, 60, 0).ClaimCount(-5);
  report.Step("effProcessEvents with a negative count");
  Send(instance, lying);
  report.Equal("effProcessEvents with null ptr", 0, instance.Dispatch(vst2::effProcessEvents, 0, 0, nullptr));

  // Note on, then released by a note-off and by a note-on of velocity 0.
  for (std::uint8_t releaseStatus : {kNoteOff, kNoteOn}) {
    EventList on;
    on.Midi(0, kNoteOn, 64, 100);
    Send(instance, on);
    StereoAudio held = Render(instance, AudioPath::kFloatReplacing, kBlockSize, kBlockSize);
    std::string how = releaseStatus == kNoteOff ? "note-off" : "note-on with velocity 0";
    report.True(Peak(held) > kAudible, "note-on from an event list sounds", "peak " + Number(Peak(held)));
    EventList off;
    off.Midi(0, releaseStatus, 64, 0);
    Send(instance, off);
    StereoAudio released = Render(instance, AudioPath::kFloatReplacing, 8 * kBlockSize, kBlockSize);
    StereoAudio tail{std::vector<double>(released.left.end() - kBlockSize, released.left.end()),
                     std::vector<double>(released.right.end() - kBlockSize, released.right.end())};
    report.True(Peak(tail) < kSilence, how + " releases the note to silence", "peak " + Number(Peak(tail)));
  }
}

void CheckProgramChanges(CheckReport& report, const PluginInstance& instance) {
  struct Case {
    std::uint8_t status;
    std::uint8_t program;
    std::int32_t expected;
  };
  const Case cases[] = {{kProgramChange, 5, 5}, {0xCF, 63, 63}, {kProgramChange, 100, 63}, {0xC3, 0, 0}};
  for (const Case& c : cases) {
    EventList events;
    events.Midi(0, c.status, c.program, 0);
    Send(instance, events);
    report.Equal("effGetProgram right after MIDI " + Hex(c.status) + " " + std::to_string(c.program), c.expected,
                 instance.Dispatch(vst2::effGetProgram));
  }
  EventList events;
  events.Midi(0, kProgramChange, 7, 0);
  Send(instance, events);
  report.Equal("program name after MIDI program change 7", vorn_facts::kFactoryProgramNames[7], instance.ProgramName());
}

}  // namespace

void CheckMidiIntake(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("midi");
  {
    PluginInstance instance(context.entry);
    if (!instance.IsValid()) return;
    instance.Start(kSampleRate, kBlockSize);
    instance.SelectProgram(vorn_facts::kInitProgram);
    CheckNotes(report, instance);
    CheckProgramChanges(report, instance);
  }
  for (float rate : {44100.0f, 48000.0f}) {
    for (int delta : {0, 37, 300, 1000}) CheckOnset(context, rate, delta);
  }
}
