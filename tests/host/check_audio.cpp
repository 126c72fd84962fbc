// The three audio callbacks against each other: float and double replacing
// give the same audio, process adds into the host's buffers, and callbacks
// longer than the announced block size render what shorter ones would.
#include <xmmintrin.h>

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

// The SSE control word's flush-to-zero and denormals-are-zero bits, which a
// plug-in may set while it renders but must give back.
constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;

void CheckFloatingPointState(CheckReport& report, const CheckContext& context) {
  auto instance = Playing(context, 512);
  if (!instance) return;
  const unsigned saved = _mm_getcsr();
  for (unsigned flags : {0u, kFlushToZero | kDenormalsAreZero}) {
    unsigned hostState = (saved & ~(kFlushToZero | kDenormalsAreZero)) | flags;
    for (AudioPath path : {AudioPath::kFloatReplacing, AudioPath::kFloatAccumulating, AudioPath::kDoubleReplacing}) {
      _mm_setcsr(hostState);
      Render(*instance, path, 512, 512);
      unsigned after = _mm_getcsr();
      _mm_setcsr(saved);
      report.Check(after == hostState,
                   "audio callback " + std::to_string(static_cast<int>(path)) + " gives back the SSE control word",
                   Hex(hostState), Hex(after));
    }
  }
}

// Another instance running at another rate in the same process must not
// change this one's sound (tables shared between instances, for instance).
void CheckIndependentInstances(CheckReport& report, const CheckContext& context) {
  constexpr int kBlock = 512;
  auto alone = Playing(context, kBlock);
  if (!alone) return;
  StereoAudio expected = Render(*alone, AudioPath::kFloatReplacing, kFrames, kBlock);
  auto watched = Playing(context, kBlock);
  PluginInstance other(context.entry);
  if (!watched || !other.IsValid()) return;
  other.Start(96000.0f, kBlock);
  EventList note;
  note.Midi(0, kNoteOn, 69, 100);
  other.Dispatch(vst2::effProcessEvents, 0, 0, note.Events());
  StereoAudio interleaved;
  for (int done = 0; done < kFrames; done += kBlock) {
    StereoAudio part = Render(*watched, AudioPath::kFloatReplacing, kBlock, kBlock);
    interleaved.left.insert(interleaved.left.end(), part.left.begin(), part.left.end());
    interleaved.right.insert(interleaved.right.end(), part.right.begin(), part.right.end());
    Render(other, AudioPath::kFloatReplacing, kBlock, kBlock);
  }
  double difference = MaxDifference(expected, interleaved);
  report.Check(difference == 0.0, "an instance at 96000 Hz beside one at 44100 Hz leaves its audio unchanged",
               "identical audio", "largest difference " + Number(difference));
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

  CheckFloatingPointState(report, context);
  CheckIndependentInstances(report, context);

  // Hosts do close instances without switching processing off first.
  auto closing = Playing(context, kBlock);
  if (!closing) return;
  Render(*closing, AudioPath::kFloatReplacing, kBlock, kBlock);
  report.Step("effClose while processing is on");
  closing->CloseAbruptly();
  report.True(true, "effClose while processing is on returns");
}
