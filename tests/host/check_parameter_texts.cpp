// Parameter names, labels and displays, text entry (effString2Parameter) and
// the host vendor extension that formats an arbitrary normalised value.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "tests/host/checks.h"
#include "tests/host/comma_locale.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

using namespace vorn_facts;

constexpr char kUntouched = 'x';
constexpr std::uint64_t kVendorAnswer = 0xBEEFu;
constexpr std::int32_t kFormatNormalized = 7;
constexpr std::int32_t kIsStepped = 8;
constexpr double kFloatTolerance = 1e-6;
constexpr double kHighestPitchIndex = 17280.0;

std::string DefaultDisplay(int index) {
  return index == kFilterFrequency ? FilterFrequencyText(kDefaultValues[kFilterFrequency]) : kDefaultDisplays[index];
}

std::string Display(const PluginInstance& instance, int index) {
  return instance.ParameterText(vst2::effGetParamDisplay, index);
}

std::string Label(const PluginInstance& instance, int index) {
  return instance.ParameterText(vst2::effGetParamLabel, index);
}

vst2::IntPtr TextToParameter(const PluginInstance& instance, int index, const char* text) {
  char buffer[kTextBufferSize];
  std::strcpy(buffer, text);
  return instance.Dispatch(vst2::effString2Parameter, index, 0, buffer);
}

void CheckDefaults(CheckReport& report, const PluginInstance& instance) {
  std::string names, labels, displays;
  for (int i = 0; i < kParameterCount; ++i) {
    std::string name = instance.ParameterText(vst2::effGetParamName, i);
    if (name != kParameterNames[i]) names += " " + std::to_string(i) + ":" + Quoted(name);
    std::string label = Label(instance, i);
    if (label != kParameterLabels[i]) labels += " " + std::to_string(i) + ":" + Quoted(label);
    std::string display = Display(instance, i);
    if (display != DefaultDisplay(i)) {
      displays += " " + std::to_string(i) + ":" + Quoted(display) + " not " + Quoted(DefaultDisplay(i));
    }
  }
  report.Check(names.empty(), "effGetParamName of all 32", "the parameter table's names", "wrong at" + names);
  report.Check(labels.empty(), "effGetParamLabel of all 32", "the parameter table's labels", "wrong at" + labels);
  report.Check(displays.empty(), "effGetParamDisplay of all 32 in program \"Init\"", "the default displays",
               "wrong at" + displays);

  for (std::int32_t index : {32, -1}) {
    for (std::int32_t opcode : {vst2::effGetParamName, vst2::effGetParamLabel, vst2::effGetParamDisplay}) {
      char text[kTextBufferSize];
      std::memset(text, kUntouched, sizeof(text));
      vst2::IntPtr answer = instance.Dispatch(opcode, index, 0, text);
      report.Check(answer == 0 && text[0] == kUntouched,
                   "opcode " + std::to_string(opcode) + " with parameter " + std::to_string(index),
                   "answer 0, nothing written", std::to_string(answer) + (text[0] == kUntouched ? "" : ", written"));
    }
  }
}

void CheckDisplaysAfterSet(CheckReport& report, const PluginInstance& instance) {
  struct Case {
    int index;
    float normalized;
    std::string display;
    std::string label;
  };
  const Case cases[] = {
      {kFilterFrequency, 0.0f, "8", "Hz"},
      {kFilterFrequency, 1.0f, "19912", "Hz"},
      {kFilterFrequency, 0.25f, FilterFrequencyText(kHighestPitchIndex * 0.5), "Hz"},
      {kPortamento, 0.6f, "0.65", "s"},    // 5 * 0.6^4 = 0.648
      {kOsc2Transpose, 0.26f, "-12", ""},  // -11.52 quantised to -12
      {kMonophon, 1.0f, "Single", ""},
      {kVolume, 0.333f, "33", "%"},
  };
  for (const Case& c : cases) {
    instance.SetParameter(c.index, c.normalized);
    std::string what = std::string(kParameterNames[c.index]) + " set to " + Number(c.normalized);
    report.Equal(what + ": display", c.display, Display(instance, c.index));
    report.Equal(what + ": label", c.label, Label(instance, c.index));
  }
}

void CheckTextEntry(CheckReport& report, const PluginInstance& instance) {
  instance.SetParameter(kMonophon, 0.0f);
  report.Equal("effString2Parameter(Monophon, \"Single\") answer", 1, TextToParameter(instance, kMonophon, "Single"));
  report.Near("Monophon after \"Single\"", 1.0, instance.GetParameter(kMonophon), kFloatTolerance);
  report.Equal("effString2Parameter(Monophon, \"Multiple\") answer", 1,
               TextToParameter(instance, kMonophon, "Multiple"));
  report.Near("Monophon after \"Multiple\"", 0.5, instance.GetParameter(kMonophon), kFloatTolerance);
  for (const char* text : {"single", "SINGLE", "Single ", "2", ""}) {
    report.Equal(std::string("effString2Parameter(Monophon, ") + Quoted(text) + ") answer", 0,
                 TextToParameter(instance, kMonophon, text));
    report.Near(std::string("Monophon unchanged after ") + Quoted(text), 0.5, instance.GetParameter(kMonophon),
                kFloatTolerance);
  }

  struct Case {
    const char* text;
    double normalized;
  };
  // Volume runs 0 .. 100 with shape 1 and is never quantised.
  const Case volumeCases[] = {{"150", 1.0}, {"  42.5abc", 0.425}, {"-20", 0.0}, {"abc", 0.0}, {"7.25", 0.0725}};
  for (const Case& c : volumeCases) {
    report.Equal(std::string("effString2Parameter(Volume, ") + Quoted(c.text) + ") answer", 1,
                 TextToParameter(instance, kVolume, c.text));
    report.Near(std::string("Volume after ") + Quoted(c.text), c.normalized, instance.GetParameter(kVolume),
                kFloatTolerance);
  }
  report.Equal("Volume display after \"7.25\"", "7", Display(instance, kVolume));

  report.Equal("effString2Parameter with parameter 32", 0, TextToParameter(instance, 32, "50"));
  report.Equal("effString2Parameter with parameter -1", 0, TextToParameter(instance, -1, "50"));
  float before = instance.GetParameter(kVolume);
  report.Step("effString2Parameter with null ptr");
  report.Equal("effString2Parameter(Volume) with null ptr answer", 1,
               instance.Dispatch(vst2::effString2Parameter, kVolume, 0, nullptr));
  report.Near("Volume unchanged by a null text", before, instance.GetParameter(kVolume), 0.0);
}

void CheckVendorExtensions(CheckReport& report, const PluginInstance& instance) {
  struct Case {
    int index;
    float normalized;
    std::string text;
  };
  const Case cases[] = {
      {kVolume, 0.5f, "50"},         {kFilterFrequency, 0.5f, FilterFrequencyText(kHighestPitchIndex * std::sqrt(0.5))},
      {kMonophon, 0.5f, "Multiple"}, {kOsc2Transpose, 0.5f, "0"},
      {kLfoFrequency, 0.5f, "6.25"},  // 0.001 + 99.998 * 0.5^4
  };
  for (const Case& c : cases) {
    char text[kTextBufferSize] = {};
    std::uint64_t answer = static_cast<std::uintptr_t>(
        instance.Dispatch(vst2::effVendorSpecific, kFormatNormalized, c.index, text, c.normalized));
    std::string what =
        std::string("effVendorSpecific(7) for ") + kParameterNames[c.index] + " at " + Number(c.normalized);
    report.Check(answer == kVendorAnswer, what + ": answer", Hex(kVendorAnswer), Hex(answer));
    report.Equal(what + ": text", c.text, std::string(text));
  }
  char text[kTextBufferSize] = {};
  std::uint64_t answer =
      static_cast<std::uintptr_t>(instance.Dispatch(vst2::effVendorSpecific, kFormatNormalized, 32, text, 0.5f));
  report.Check(answer == kVendorAnswer, "effVendorSpecific(7) with parameter 32 and a buffer", Hex(kVendorAnswer),
               Hex(answer));
  report.Equal("effVendorSpecific(7) without buffer", 0,
               instance.Dispatch(vst2::effVendorSpecific, kFormatNormalized, kVolume, nullptr, 0.5f));

  struct SteppedCase {
    int index;
    std::uint64_t answer;
  };
  const SteppedCase stepped[] = {{kMonophon, kVendorAnswer},
                                 {kOsc2Transpose, kVendorAnswer},
                                 {kChorus, kVendorAnswer},
                                 {kVolume, 0},
                                 {kFilterFrequency, 0},
                                 {32, 0},
                                 {-1, 0}};
  for (const SteppedCase& c : stepped) {
    std::uint64_t got = static_cast<std::uintptr_t>(instance.Dispatch(vst2::effVendorSpecific, kIsStepped, c.index));
    report.Check(got == c.answer, "effVendorSpecific(8) for parameter " + std::to_string(c.index), Hex(c.answer),
                 Hex(got));
  }
  report.Equal("effVendorSpecific(9)", 0, instance.Dispatch(vst2::effVendorSpecific, 9, kVolume, text, 0.5f));
}

}  // namespace

void CheckParameterTexts(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("parameter texts");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Dispatch(vst2::effOpen);
  instance.SelectProgram(kInitProgram);
  CheckDefaults(report, instance);
  CheckDisplaysAfterSet(report, instance);
  CheckTextEntry(report, instance);
  CheckVendorExtensions(report, instance);

  // Numbers keep their '.' in both directions when the host has switched the
  // process to a decimal-comma locale.
  report.BeginArea("parameter texts under a decimal-comma locale");
  ScopedCommaLocale locale;
  report.True(locale.Active(), "a decimal-comma locale (de_DE.UTF-8 through LOCPATH, or German on Windows)",
              "none available");
  if (!locale.Active()) return;
  instance.SelectProgram(kInitProgram);
  CheckDisplaysAfterSet(report, instance);
  CheckTextEntry(report, instance);
  CheckVendorExtensions(report, instance);
}
