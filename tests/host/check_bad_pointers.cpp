// Every opcode that writes into or reads from ptr, called with a null ptr as
// a careless host would: no crash, and the documented answer where there is one.
#include <cstring>
#include <string>

#include "tests/host/checks.h"
#include "tests/host/plugin_instance.h"

namespace {

constexpr vst2::IntPtr kAnyAnswer = -12345;
constexpr std::int32_t kFormatNormalized = 7;
constexpr std::int32_t kMiddleC = 60;

struct NullCase {
  std::int32_t opcode;
  std::int32_t index;
  vst2::IntPtr value;
  vst2::IntPtr answer;  // kAnyAnswer: only "no crash" is asked
  const char* name;
};

const NullCase kNullCases[] = {
    {vst2::effSetProgramName, 0, 0, 0, "effSetProgramName"},
    {vst2::effGetProgramName, 0, 0, 0, "effGetProgramName"},
    {vst2::effGetParamLabel, 0, 0, 0, "effGetParamLabel"},
    {vst2::effGetParamDisplay, 0, 0, 0, "effGetParamDisplay"},
    {vst2::effGetParamName, 0, 0, 0, "effGetParamName"},
    {vst2::effEditGetRect, 0, 0, 0, "effEditGetRect"},
    {vst2::effGetChunk, 0, 0, 0, "effGetChunk(bank)"},
    {vst2::effGetChunk, 1, 0, 0, "effGetChunk(program)"},
    {vst2::effSetChunk, 0, 100, 0, "effSetChunk(bank)"},
    {vst2::effSetChunk, 1, 100, 0, "effSetChunk(program)"},
    {vst2::effProcessEvents, 0, 0, 0, "effProcessEvents"},
    {vst2::effString2Parameter, 0, 0, 1, "effString2Parameter"},
    {vst2::effGetProgramNameIndexed, 0, 0, kAnyAnswer, "effGetProgramNameIndexed"},
    {vst2::effGetProgramNameIndexed, 64, 0, 0, "effGetProgramNameIndexed(64)"},
    {vst2::effGetInputProperties, 0, 0, 0, "effGetInputProperties"},
    {vst2::effGetOutputProperties, 0, 0, kAnyAnswer, "effGetOutputProperties"},
    {vst2::effSetSpeakerArrangement, 0, 0, 1, "effSetSpeakerArrangement"},
    {vst2::effGetEffectName, 0, 0, 0, "effGetEffectName"},
    {vst2::effGetVendorString, 0, 0, 0, "effGetVendorString"},
    {vst2::effGetProductString, 0, 0, 0, "effGetProductString"},
    {vst2::effVendorSpecific, kFormatNormalized, 0, 0, "effVendorSpecific(7)"},
    {vst2::effCanDo, 0, 0, 0, "effCanDo"},
    {vst2::effGetMidiKeyName, 0, 0, 0, "effGetMidiKeyName"},
    {vst2::effGetSpeakerArrangement, 0, 0, 1, "effGetSpeakerArrangement"},
};

}  // namespace

void CheckBadPointers(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("null pointers");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Dispatch(vst2::effOpen);
  for (const NullCase& c : kNullCases) {
    report.Step(std::string(c.name) + " with null ptr");
    vst2::IntPtr answer = instance.Dispatch(c.opcode, c.index, c.value, nullptr);
    if (c.answer == kAnyAnswer) {
      report.True(true, std::string(c.name) + " with null ptr returns");
    } else {
      report.Equal(std::string(c.name) + " with null ptr: answer", c.answer, answer);
    }
  }

  // The key-name record is cleared; Vorn names no keys.
  vst2::MidiKeyName key;
  std::memset(&key, 0, sizeof(key));
  key.thisKeyNumber = kMiddleC;
  std::strcpy(key.keyName, "stale");
  report.Equal("effGetMidiKeyName answer", 0, instance.Dispatch(vst2::effGetMidiKeyName, 0, 0, &key));
  report.Equal("effGetMidiKeyName clears the key name", "", std::string(key.keyName));
}
