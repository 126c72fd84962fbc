// The program list as the host sees it: factory names, switching programs,
// renaming, and names that do not fit the host's buffer.
#include <cstring>
#include <string>

#include "tests/host/checks.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/vorn_facts.h"

namespace {

constexpr char kUntouched = 'x';
constexpr const char* kLongName = "A program name far longer than any host field";

// effGetProgramNameIndexed into a buffer full of kUntouched.
struct IndexedName {
  vst2::IntPtr answer;
  char text[kTextBufferSize];
};

IndexedName NameAt(const PluginInstance& instance, std::int32_t index) {
  IndexedName result{};
  std::memset(result.text, kUntouched, sizeof(result.text));
  result.answer = instance.Dispatch(vst2::effGetProgramNameIndexed, index, 0, result.text);
  return result;
}

}  // namespace

void CheckPrograms(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("programs");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Dispatch(vst2::effOpen);

  report.Equal("effGetProgram at start", 0, instance.Dispatch(vst2::effGetProgram));
  report.Equal("effGetProgramName at start", vorn_facts::kFactoryProgramNames[0], instance.ProgramName());
  std::string wrong;
  for (int i = 0; i < vorn_facts::kProgramCount; ++i) {
    IndexedName name = NameAt(instance, i);
    if (name.answer != 1 || std::string(name.text) != vorn_facts::kFactoryProgramNames[i]) {
      wrong += " " + std::to_string(i) + ":\"" + std::string(name.text, strnlen(name.text, 40)) + "\"";
    }
  }
  report.Check(wrong.empty(), "effGetProgramNameIndexed 0..63 give the factory names, answer 1", "the 64 factory names",
               "wrong at" + wrong);

  for (std::int32_t index : {64, -1, 1000}) {
    IndexedName name = NameAt(instance, index);
    report.Equal("effGetProgramNameIndexed(" + std::to_string(index) + ") answer", 0, name.answer);
    report.Equal("effGetProgramNameIndexed(" + std::to_string(index) + ") text", "",
                 std::string(name.text, strnlen(name.text, 40)));
  }

  int updatesBefore = instance.requests().Of(vst2::audioMasterUpdateDisplay);
  instance.SelectProgram(5);
  report.Equal("effGetProgram after effSetProgram(5)", 5, instance.Dispatch(vst2::effGetProgram));
  report.Equal("effGetProgramName after effSetProgram(5)", vorn_facts::kFactoryProgramNames[5], instance.ProgramName());
  report.Equal("effSetProgram does not ask the host to update its display", updatesBefore,
               instance.requests().Of(vst2::audioMasterUpdateDisplay));
  for (std::int32_t index : {64, -1}) {
    instance.SelectProgram(index);
    report.Equal("effSetProgram(" + std::to_string(index) + ") keeps the program", 5,
                 instance.Dispatch(vst2::effGetProgram));
  }

  char name[] = "Renamed Five";
  instance.Dispatch(vst2::effSetProgramName, 0, 0, name);
  report.Equal("effGetProgramName after effSetProgramName", name, instance.ProgramName());
  report.Equal("effGetProgramNameIndexed(5) after effSetProgramName", name, instance.ProgramNameIndexed(5));
  report.Equal("effSetProgramName leaves other names", vorn_facts::kFactoryProgramNames[4],
               instance.ProgramNameIndexed(4));

  // Hosts hand over buffers of kVstMaxProgNameLen bytes for program names.
  char longName[kTextBufferSize];
  std::strcpy(longName, kLongName);
  instance.Dispatch(vst2::effSetProgramName, 0, 0, longName);
  for (std::int32_t opcode : {vst2::effGetProgramName, vst2::effGetProgramNameIndexed}) {
    char text[kTextBufferSize];
    std::memset(text, kUntouched, sizeof(text));
    instance.Dispatch(opcode, 5, 0, text);
    std::size_t length = strnlen(text, sizeof(text));
    std::string what =
        std::string(opcode == vst2::effGetProgramName ? "effGetProgramName" : "effGetProgramNameIndexed") +
        " of a 45-character name fits " + std::to_string(vst2::kVstMaxProgNameLen) + " bytes";
    report.Check(length < vst2::kVstMaxProgNameLen && std::string(kLongName).compare(0, length, text) == 0, what,
                 "a terminated prefix shorter than " + std::to_string(vst2::kVstMaxProgNameLen),
                 std::to_string(length) + " characters");
  }
}
