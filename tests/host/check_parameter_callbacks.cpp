// getParameter and setParameter: normalised values, quantisation, indices
// outside the table, and values no host should send (NaN, outside [0, 1]).
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/host/audio_render.h"
#include "tests/host/checks.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"
#include "tests/host/vorn_facts.h"

namespace {

using namespace vorn_facts;

constexpr double kFloatTolerance = 1e-6;
constexpr float kSampleRate = 44100.0f;
constexpr int kBlockSize = 256;
constexpr int kRenderFrames = 44100;

void CheckValidValues(CheckReport& report, const PluginInstance& instance) {
  struct Case {
    int index;
    float set;
    float get;
  };
  const Case cases[] = {
      {kVolume, 0.25f, 0.25f},
      {kOsc2Transpose, 0.26f, 0.25f},          // -11.52 is quantised to -12
      {kOsc2Transpose, 0.27f, 13.0f / 48.0f},  // -11.04 is quantised to -11
      {kPortamento, 0.6f, 0.6f},               // shape 4, continuous
      {kFilterFrequency, 0.25f, 0.25f},        // shape 0.5
      {kMonophon, 0.3f, 0.5f},                 // 0.6 rounds to "Multiple"
  };
  int automationBefore = instance.requests().Of(vst2::audioMasterAutomate);
  for (const Case& c : cases) {
    instance.SetParameter(c.index, c.set);
    report.Near("getParameter(" + std::string(kParameterNames[c.index]) + ") after setParameter " + Number(c.set),
                c.get, instance.GetParameter(c.index), kFloatTolerance);
  }
  report.Equal("setParameter does not send audioMasterAutomate", automationBefore,
               instance.requests().Of(vst2::audioMasterAutomate));

  report.Near("getParameter(32)", 0.0, instance.GetParameter(32), 0.0);
  report.Near("getParameter(-1)", 0.0, instance.GetParameter(-1), 0.0);
  std::vector<float> before = AllParameters(instance);
  report.Step("setParameter with indices -1, 32, 1000");
  for (int index : {-1, 32, 1000}) instance.SetParameter(index, 0.5f);
  report.True(AllParameters(instance) == before, "setParameter(-1 / 32 / 1000, 0.5) changes nothing", "changed");
}

void CheckBadValues(CheckReport& report, const PluginInstance& instance) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const float values[] = {nan, -1.0f, 2.0f, 1e30f, -infinity, infinity, -1e-30f, -0.0f};
  for (float value : values) {
    std::string bad;
    for (int i = 0; i < kParameterCount; ++i) {
      report.Step("setParameter(" + std::to_string(i) + ", " + Number(value) + ")");
      instance.SetParameter(i, value);
      float got = instance.GetParameter(i);
      if (!(got >= 0.0f && got <= 1.0f)) bad += " " + std::to_string(i) + "->" + Number(got);
      if (i == kVolume || i == kChorus) instance.SetParameter(i, 0.5f);  // keep it audible for the check below
    }
    report.Check(bad.empty(), "getParameter within [0, 1] after setParameter(" + Number(value) + ")",
                 "values in [0, 1]", bad);
  }
  report.Step("rendering after bad parameter values");
  EventList events;
  events.Midi(0, kNoteOn, 60, 100).Midi(0, kNoteOn, 67, 127).Midi(10, kNoteOn, 24, 64);
  instance.Dispatch(vst2::effProcessEvents, 0, 0, events.Events());
  StereoAudio audio = Render(instance, AudioPath::kFloatReplacing, kRenderFrames, kBlockSize);
  report.True(IsFinite(audio), "audio finite after bad parameter values", "NaN or infinity");

  // Leaving the program stores the bad values into it; the program switched
  // to brings sane values, and the same instance plays again.
  instance.SelectProgram(0);
  EventList again;
  again.Midi(0, kNoteOn, 62, 100);
  instance.Dispatch(vst2::effProcessEvents, 0, 0, again.Events());
  audio = Render(instance, AudioPath::kFloatReplacing, kRenderFrames / 4, kBlockSize);
  report.True(IsFinite(audio) && Peak(audio) > 1e-3, "program 0 plays after bad values", "peak " + Number(Peak(audio)));
}

}  // namespace

void CheckParameterCallbacks(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("parameter callbacks");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Start(kSampleRate, kBlockSize);
  instance.SelectProgram(kInitProgram);
  CheckValidValues(report, instance);
  CheckBadValues(report, instance);
}
