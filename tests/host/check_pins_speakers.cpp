// Pin properties and speaker arrangements, and what a one-channel output
// arrangement does to rendering: the second output is left alone.
#include <cstring>
#include <string>

#include "tests/host/audio_render.h"
#include "tests/host/checks.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kBlockSize = 512;
constexpr float kUntouchedSample = 7.0f;
constexpr double kAudible = 1e-3;

struct PinAnswer {
  vst2::IntPtr answer;
  vst2::VstPinProperties pin;
};

PinAnswer Pin(const PluginInstance& instance, std::int32_t opcode, std::int32_t index) {
  PinAnswer result{};
  std::memset(&result.pin, 0, sizeof(result.pin));
  result.answer = instance.Dispatch(opcode, index, 0, &result.pin);
  return result;
}

vst2::VstSpeakerArrangement Arrangement(std::int32_t type, std::int32_t channels) {
  vst2::VstSpeakerArrangement arrangement;
  std::memset(&arrangement, 0, sizeof(arrangement));
  arrangement.type = type;
  arrangement.numChannels = channels;
  return arrangement;
}

bool AllEqual(const std::vector<double>& samples, double value) {
  for (double x : samples) {
    if (x != value) return false;
  }
  return true;
}

void PlayNote(const PluginInstance& instance) {
  EventList events;
  events.Midi(0, kNoteOn, 60, 100);
  instance.Dispatch(vst2::effProcessEvents, 0, 0, events.Events());
}

void CheckOneOutput(CheckReport& report, const PluginInstance& instance, AudioPath path, const char* name) {
  PlayNote(instance);
  StereoAudio audio = Render(instance, path, kBlockSize * 2, kBlockSize, kUntouchedSample);
  report.True(Peak(StereoAudio{audio.left, {}}) > kAudible && !AllEqual(audio.left, kUntouchedSample),
              std::string("one-channel arrangement: output 1 renders (") + name + ")", "silent");
  report.True(AllEqual(audio.right, kUntouchedSample),
              std::string("one-channel arrangement: output 2 left untouched (") + name + ")", "written");
}

}  // namespace

void CheckPinsAndSpeakers(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("pins and speakers");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Start(kSampleRate, kBlockSize);

  PinAnswer first = Pin(instance, vst2::effGetOutputProperties, 0);
  report.Equal("effGetOutputProperties(0) answer", 1, first.answer);
  report.Equal("effGetOutputProperties(0) label", "Output 1", std::string(first.pin.label));
  report.Equal("effGetOutputProperties(0) flags", vst2::kVstPinIsActive | vst2::kVstPinIsStereo, first.pin.flags);
  PinAnswer second = Pin(instance, vst2::effGetOutputProperties, 1);
  report.Equal("effGetOutputProperties(1) answer", 1, second.answer);
  report.Equal("effGetOutputProperties(1) label", "Output 2", std::string(second.pin.label));
  report.Equal("effGetOutputProperties(1) flags", vst2::kVstPinIsActive, second.pin.flags);
  report.Equal("effGetOutputProperties(2) answer", 0, Pin(instance, vst2::effGetOutputProperties, 2).answer);
  report.Equal("effGetOutputProperties(-1) answer", 0, Pin(instance, vst2::effGetOutputProperties, -1).answer);
  report.Equal("effGetInputProperties(0) answer", 0, Pin(instance, vst2::effGetInputProperties, 0).answer);

  vst2::VstSpeakerArrangement* input = nullptr;
  vst2::VstSpeakerArrangement* output = nullptr;
  report.Equal("effGetSpeakerArrangement answer", 1,
               instance.Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<vst2::IntPtr>(&input), &output));
  report.True(input != nullptr && input->type == vst2::kSpeakerArrEmpty && input->numChannels == 0,
              "input arrangement is empty (type -1, 0 channels)",
              input == nullptr ? "null" : std::to_string(input->type) + ", " + std::to_string(input->numChannels));
  report.True(output != nullptr && output->type == vst2::kSpeakerArrStereo && output->numChannels == 2,
              "output arrangement is stereo (type 1, 2 channels)",
              output == nullptr ? "null" : std::to_string(output->type) + ", " + std::to_string(output->numChannels));

  instance.SelectProgram(vorn_facts::kInitProgram);
  vst2::VstSpeakerArrangement mono = Arrangement(vst2::kSpeakerArrMono, 1);
  report.Equal("effSetSpeakerArrangement with one output", 1,
               instance.Dispatch(vst2::effSetSpeakerArrangement, 0, 0, &mono));
  CheckOneOutput(report, instance, AudioPath::kFloatReplacing, "float");
  CheckOneOutput(report, instance, AudioPath::kDoubleReplacing, "double");

  // Arrangements claiming more channels than exist, or fewer than none.
  vst2::VstSpeakerArrangement wide = Arrangement(vst2::kSpeakerArrUserDefined, 8);
  vst2::VstSpeakerArrangement negative = Arrangement(vst2::kSpeakerArrUserDefined, -3);
  report.Step("effSetSpeakerArrangement with 8 channels");
  report.Equal("effSetSpeakerArrangement with 8 outputs", 1,
               instance.Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<vst2::IntPtr>(&wide), &wide));
  report.Step("effSetSpeakerArrangement with -3 channels");
  instance.Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<vst2::IntPtr>(&negative), &negative);
  report.Step("render after odd arrangements");
  Render(instance, AudioPath::kFloatReplacing, kBlockSize, kBlockSize);

  vst2::VstSpeakerArrangement stereo = Arrangement(vst2::kSpeakerArrStereo, 2);
  instance.Dispatch(vst2::effSetSpeakerArrangement, 0, 0, &stereo);
  PlayNote(instance);
  StereoAudio audio = Render(instance, AudioPath::kFloatReplacing, kBlockSize, kBlockSize, kUntouchedSample);
  report.True(!AllEqual(audio.right, kUntouchedSample) && IsFinite(audio), "stereo arrangement again: output 2 renders",
              "untouched or not finite");
}
