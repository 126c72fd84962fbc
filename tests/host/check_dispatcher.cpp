// Dispatcher answers that do not depend on the state: canDo texts, identity,
// category and versions, and the opcodes the plug-in does not handle.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/host/checks.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

// Hosts compare this answer with the unsigned constant, so on 64-bit it must
// arrive zero-extended.
constexpr std::uint64_t kCockosAnswer = 0xBEEF0000u;

struct CanDoCase {
  const char* text;
  std::uint64_t answer;
};

// Texts compared exactly, letter case included.
constexpr CanDoCase kCanDoCases[] = {
    {"receiveVstTimeInfo", 1},
    {"sendVstEvents", 1},
    {"sendVstMidiEvent", 1},
    {"receiveVstEvents", 1},
    {"receiveVstMidiEvent", 1},
    {"hasCockosExtensions", kCockosAnswer},
    {"hasCockosViewAsConfig", kCockosAnswer},
    {"HasCockosExtensions", 0},
    {"hascockosextensions", 0},
    {"ReceiveVstMidiEvent", 0},
    {"receivevsttimeinfo", 0},
    {"receiveVstTimeInfo ", 0},
    {"receiveVstTime", 0},
    {"bypass", 0},
    {"midiProgramNames", 0},
    {"", 0},
};

// Opcodes outside the handled set, including the gaps between handled ones.
constexpr std::int32_t kUnlistedOpcodes[] = {9,  16, 17, 18, 20, 21, 28, 30, 31,  32,   36, 37,        38, 39,
                                             40, 41, 43, 44, 46, 54, 55, 56, 57,  59,   60, 61,        62, 63,
                                             64, 65, 67, 68, 70, 71, 72, 77, 100, 1000, -1, 0x7FFFFFFF};
constexpr std::size_t kScratchBytes = 1024;
constexpr unsigned char kUntouched = 0x5A;

std::uint64_t Unsigned(vst2::IntPtr answer) { return static_cast<std::uintptr_t>(answer); }

std::string TextAnswer(const PluginInstance& instance, std::int32_t opcode, vst2::IntPtr& answer) {
  char text[kTextBufferSize] = {};
  answer = instance.Dispatch(opcode, 0, 0, text);
  return std::string(text);
}

}  // namespace

void CheckDispatcherAnswers(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("dispatcher");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Dispatch(vst2::effOpen);

  for (const CanDoCase& canDo : kCanDoCases) {
    std::string text = canDo.text;
    report.Step("effCanDo \"" + text + "\"");
    std::uint64_t answer = Unsigned(instance.Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(canDo.text)));
    report.Check(answer == canDo.answer, "effCanDo(\"" + text + "\")", Hex(canDo.answer), Hex(answer));
  }

  report.Equal("effGetPlugCategory", vorn_facts::kSynthCategory, instance.Dispatch(vst2::effGetPlugCategory));
  report.Equal("effGetVstVersion", vorn_facts::kVstVersion, instance.Dispatch(vst2::effGetVstVersion));
  report.Equal("effGetVendorVersion", vorn_facts::kVersion, instance.Dispatch(vst2::effGetVendorVersion));
  report.Check(Unsigned(instance.Dispatch(vst2::effIdentify)) == vorn_facts::kIdentify, "effIdentify",
               Hex(vorn_facts::kIdentify), Hex(Unsigned(instance.Dispatch(vst2::effIdentify))));
  report.Equal("effGetTailSize", 0, instance.Dispatch(vst2::effGetTailSize));
  report.Equal("effCanBeAutomated(0)", 1, instance.Dispatch(vst2::effCanBeAutomated, 0));
  report.Equal("effCanBeAutomated(31)", 1, instance.Dispatch(vst2::effCanBeAutomated, 31));
  report.Equal("effIdle", 0, instance.Dispatch(vst2::effIdle));
  report.Equal("effEditIdle", 0, instance.Dispatch(vst2::effEditIdle));

  vst2::IntPtr answer = 0;
  std::string text = TextAnswer(instance, vst2::effGetEffectName, answer);
  report.Equal("effGetEffectName text", vorn_facts::kEffectName, text);
  report.Equal("effGetEffectName answer", 1, answer);
  text = TextAnswer(instance, vst2::effGetVendorString, answer);
  report.Equal("effGetVendorString text", vorn_facts::kVendor, text);
  report.Equal("effGetVendorString answer", 1, answer);
  text = TextAnswer(instance, vst2::effGetProductString, answer);
  report.Equal("effGetProductString text", "", text);
  report.Equal("effGetProductString answer", 1, answer);

  // Unhandled opcodes answer 0 and leave the host's buffer as it was.
  std::vector<unsigned char> scratch(kScratchBytes, kUntouched);
  std::string changed;
  std::string nonZero;
  for (std::int32_t opcode : kUnlistedOpcodes) {
    report.Step("unlisted opcode " + std::to_string(opcode));
    vst2::IntPtr result = instance.Dispatch(opcode, 0, 0, scratch.data(), 0.0f);
    if (result != 0) nonZero += " " + std::to_string(opcode) + "->" + std::to_string(result);
    for (unsigned char byte : scratch) {
      if (byte != kUntouched) {
        changed += " " + std::to_string(opcode);
        std::memset(scratch.data(), kUntouched, scratch.size());
        break;
      }
    }
  }
  report.Check(nonZero.empty(), "unlisted opcodes answer 0", "0 for all", nonZero);
  report.Check(changed.empty(), "unlisted opcodes leave ptr untouched", "no writes", "written by" + changed);
}
