// Sample rates no host should send, followed by rendering: the plug-in
// neither crashes nor produces anything but finite samples, and a sane rate
// afterwards brings the sound back.
#include <limits>
#include <string>

#include "tests/host/audio_render.h"
#include "tests/host/checks.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

constexpr int kBlockSize = 512;
constexpr int kFrames = 4096;
constexpr double kAudible = 1e-3;

StereoAudio PlayAt(const PluginInstance& instance, float rate) {
  instance.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
  EventList note;
  note.Midi(0, kNoteOn, 57, 100).Midi(100, kNoteOn, 69, 100);
  instance.Dispatch(vst2::effProcessEvents, 0, 0, note.Events());
  return Render(instance, AudioPath::kFloatReplacing, kFrames, kBlockSize);
}

}  // namespace

void CheckSampleRates(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("sample rates");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Start(44100.0f, kBlockSize);
  instance.SelectProgram(vorn_facts::kInitProgram);
  instance.SetParameter(vorn_facts::kChorus, 1.0f);

  const float rates[] = {0.0f,
                         -44100.0f,
                         1.0f,
                         999.0f,
                         1e7f,
                         3e9f,
                         1e12f,
                         1e38f,
                         std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(),
                         -std::numeric_limits<float>::infinity()};
  for (float rate : rates) {
    report.Step("effSetSampleRate(" + Number(rate) + ") and rendering");
    StereoAudio audio = PlayAt(instance, rate);
    report.True(IsFinite(audio), "rendering after effSetSampleRate(" + Number(rate) + ") is finite", "NaN or infinity");
  }
  for (float rate : {48000.0f, 96000.0f}) {
    StereoAudio audio = PlayAt(instance, rate);
    report.True(IsFinite(audio) && Peak(audio) > kAudible,
                "effSetSampleRate(" + Number(rate) + ") after bad rates plays again", "peak " + Number(Peak(audio)));
  }
}
