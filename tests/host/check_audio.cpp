// The three audio callbacks against each other: float and double replacing
// give the same audio, process adds into the host's buffers, and callbacks
// longer than the announced block size render what shorter ones would.
#include <memory>
#include <string>

#include "tests/host/audio_render.h"
#include "tests/host/checks.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kFrames = 16384;
constexpr double kAudible = 1e-3;
// Float output carries 24 bits; the two paths differ at most by that rounding.
constexpr double kFloatPrecision = 1e-6;
constexpr float kPrefill = 0.25f;

// A fresh instance announcing `blockSize`, in program "Init" with the chorus
// on, playing a three-note chord from frame 0.
std::unique_ptr<PluginInstance> Playing(const CheckContext& context, int blockSize) {
  auto instance = std::make_unique<PluginInstance>(context.entry);
  if (!instance->IsValid()) return nullptr;
  instance->Start(kSampleRate, blockSize);
  instance->SelectProgram(vorn_facts::kInitProgram);
  instance->SetParameter(vorn_facts::kChorus, 1.0f);
  EventList chord;
  chord.Midi(0, kNoteOn, 48, 100).Midi(0, kNoteOn, 55, 90).Midi(0, kNoteOn, 64, 110);
  instance->Dispatch(vst2::effProcessEvents, 0, 0, chord.Events());
  return instance;
}

void Compare(CheckReport& report, const std::string& what, const StereoAudio& expected, const StereoAudio& got) {
  double difference = MaxDifference(expected, got);
  report.Check(difference <= kFloatPrecision, what, "largest difference <= " + Number(kFloatPrecision),
               Number(difference));
}

}  // namespace

void CheckAudioCallbacks(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("audio callbacks");
  constexpr int kBlock = 512;
  auto floatInstance = Playing(context, kBlock);
  auto doubleInstance = Playing(context, kBlock);
  auto addingInstance = Playing(context, kBlock);
  if (!floatInstance || !doubleInstance || !addingInstance) return;

  int wantMidiBefore = floatInstance->requests().Of(vst2::audioMasterWantMidi);
  StereoAudio floats = Render(*floatInstance, AudioPath::kFloatReplacing, kFrames, kBlock);
  report.True(floatInstance->requests().Of(vst2::audioMasterWantMidi) > wantMidiBefore,
              "audio callbacks send audioMasterWantMidi", "never");
  report.True(Peak(floats) > kAudible && IsFinite(floats), "processReplacing renders the chord",
              "peak " + Number(Peak(floats)));
  report.True(floats.left != floats.right, "chorus on: left and right differ", "identical");
  StereoAudio doubles = Render(*doubleInstance, AudioPath::kDoubleReplacing, kFrames, kBlock);
  Compare(report, "processDoubleReplacing equals processReplacing", floats, doubles);
  StereoAudio added = Render(*addingInstance, AudioPath::kFloatAccumulating, kFrames, kBlock, kPrefill);
  Compare(report, "process adds the same audio into buffers holding 0.25", floats, Minus(added, kPrefill));

  // Callbacks of four times the announced block size.
  constexpr int kSmall = 256;
  struct Case {
    AudioPath path;
    int callbackFrames;
    const char* what;
  };
  const Case cases[] = {
      {AudioPath::kFloatReplacing, 4 * kSmall, "processReplacing with 1024 frames after announcing 256"},
      {AudioPath::kDoubleReplacing, 4 * kSmall, "processDoubleReplacing with 1024 frames after announcing 256"},
      {AudioPath::kFloatAccumulating, 4 * kSmall, "process with 1024 frames after announcing 256"},
      {AudioPath::kFloatReplacing, 5000, "processReplacing with 5000 frames after announcing 256"},
  };
  auto reference = Playing(context, kSmall);
  if (!reference) return;
  StereoAudio expected = Render(*reference, AudioPath::kFloatReplacing, kFrames, kSmall);
  for (const Case& c : cases) {
    auto instance = Playing(context, kSmall);
    if (!instance) return;
    report.Step(c.what);
    float prefill = c.path == AudioPath::kFloatAccumulating ? kPrefill : 0.0f;
    StereoAudio got = Minus(Render(*instance, c.path, kFrames, c.callbackFrames, prefill), prefill);
    Compare(report, std::string(c.what) + " renders as 256-frame callbacks do", expected, got);
  }

  // No block size announced at all: the plug-in's own default holds, and a
  // host passing more still gets audio.
  PluginInstance unannounced(context.entry);
  if (!unannounced.IsValid()) return;
  unannounced.Dispatch(vst2::effOpen);
  unannounced.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, kSampleRate);
  unannounced.Dispatch(vst2::effMainsChanged, 0, 1);
  unannounced.SelectProgram(vorn_facts::kInitProgram);
  EventList note;
  note.Midi(0, kNoteOn, 60, 100);
  unannounced.Dispatch(vst2::effProcessEvents, 0, 0, note.Events());
  report.Step("processReplacing with 8192 frames and no block size announced");
  StereoAudio big = Render(unannounced, AudioPath::kFloatReplacing, 8192, 8192);
  report.True(IsFinite(big) && Peak(big) > kAudible, "8192-frame callback without effSetBlockSize renders",
              "peak " + Number(Peak(big)));
  unannounced.Dispatch(vst2::effMainsChanged, 0, 0);
}
