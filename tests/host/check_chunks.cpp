// State chunks: the program chunk byte for byte, the bank chunk's slots,
// round trips through effGetChunk/effSetChunk, the trailing-name rule, and
// chunks that are cut short or are not chunks at all.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/host/checks.h"
#include "tests/host/chunk_reader.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"
#include "tests/host/vorn_facts.h"

namespace {

using namespace vorn_facts;

constexpr std::int32_t kFrameworkVersion = 0x00010000;
constexpr double kDefaultTolerance = 1e-9;

// Leaves the current program with values that differ from every factory one.
void Scramble(const PluginInstance& instance, float seed) {
  for (int i = 0; i < kParameterCount; ++i) {
    instance.SetParameter(i, std::fmod(seed + 0.137f * static_cast<float>(i), 1.0f));
  }
}

void Rename(const PluginInstance& instance, const std::string& name) {
  std::vector<char> text(name.begin(), name.end());
  text.push_back('\0');
  instance.Dispatch(vst2::effSetProgramName, 0, 0, text.data());
}

void CheckProgramLayout(CheckReport& report, const PluginInstance& instance) {
  instance.SelectProgram(kInitProgram);
  std::vector<unsigned char> chunk = GetChunk(instance, kProgramChunk);
  report.True(!chunk.empty(), "effGetChunk(program) gives data", "answer 0");
  ChunkReader reader(chunk);
  report.Equal("program chunk bytes 0..3", "tffp", reader.Bytes(4));
  report.Equal("program chunk bytes 4..7 (00 00 01 00)", kFrameworkVersion, reader.Int32());
  report.Equal("program chunk state tag", kStateTag, reader.Bytes(kStateTagLength));
  report.Equal("program chunk index", kInitProgram, reader.Int32());
  report.Equal("program chunk name", "Init", reader.String());
  std::string wrong;
  for (int i = 0; i < kParameterCount; ++i) {
    double value = reader.Double();
    if (!(std::fabs(value - kDefaultValues[i]) <= kDefaultTolerance)) {
      wrong += " " + std::to_string(i) + "=" + Number(value);
    }
  }
  report.Check(wrong.empty(), "program chunk values of \"Init\"", "the 32 defaults", "differ at" + wrong);
  report.Equal("program chunk trailing name", "Init", reader.String());
  report.True(reader.AtEnd(), "program chunk ends after the trailing name",
              std::to_string(chunk.size() - reader.position()) + " bytes more");
}

void CheckBankLayout(CheckReport& report, const PluginInstance& instance) {
  std::vector<unsigned char> chunk = GetChunk(instance, kBankChunk);
  report.True(!chunk.empty(), "effGetChunk(bank) gives data", "answer 0");
  ChunkReader reader(chunk);
  report.Equal("bank chunk bytes 0..3", "tffp", reader.Bytes(4));
  report.Equal("bank chunk bytes 4..7", kFrameworkVersion, reader.Int32());
  std::string wrong;
  for (int slot = 0; slot < kProgramCount && reader.ok(); ++slot) {
    std::string name = reader.String();
    bool initialised = reader.Bool();
    std::string tag = initialised ? reader.Bytes(kStateTagLength) : "";
    if (initialised) {
      reader.Int32();
      reader.String();
      for (int i = 0; i < kParameterCount; ++i) reader.Double();
    }
    if (name != instance.ProgramNameIndexed(slot) || !initialised || tag != kStateTag) {
      wrong += " " + std::to_string(slot) + ":" + Quoted(name) + (initialised ? "" : " uninitialised");
    }
  }
  report.Check(wrong.empty() && reader.ok(), "bank chunk holds 64 initialised slots with their names and state",
               "64 slots", reader.ok() ? "wrong at" + wrong : "data ends early");
  report.True(reader.AtEnd(), "bank chunk ends after slot 63",
              std::to_string(chunk.size() - reader.position()) + " bytes more");
}

void CheckProgramRoundTrip(CheckReport& report, const PluginInstance& instance) {
  instance.SelectProgram(kInitProgram);
  Scramble(instance, 0.31f);
  Rename(instance, "Chunk Test A");
  std::vector<float> saved = AllParameters(instance);
  std::vector<unsigned char> chunk = GetChunk(instance, kProgramChunk);

  Scramble(instance, 0.77f);
  Rename(instance, "Other Name");
  report.Equal("effSetChunk(program) answer", 1, SetChunk(instance, kProgramChunk, chunk));
  report.True(AllParameters(instance) == saved, "program chunk restores all 32 parameters", "different values");
  report.Equal("program chunk's trailing name renames the program", "Chunk Test A", instance.ProgramName());
  report.Equal("program index unchanged by a program chunk", kInitProgram, instance.Dispatch(vst2::effGetProgram));

  // Without a trailing name (or with an empty one) the state is restored and
  // the program keeps its name.
  std::vector<unsigned char> bare = WithoutTrailingName(chunk, "Chunk Test A");
  std::vector<unsigned char> emptyName = bare;
  AppendString(emptyName, "");
  for (const auto& variant : {bare, emptyName}) {
    std::string kind = variant.size() == bare.size() ? "no trailing name" : "an empty trailing name";
    Scramble(instance, 0.53f);
    Rename(instance, "Kept Name");
    report.Equal("effSetChunk(program) with " + kind + ": answer", 1, SetChunk(instance, kProgramChunk, variant));
    report.True(AllParameters(instance) == saved, "program chunk with " + kind + " restores all 32 parameters",
                "different values");
    report.Equal("program chunk with " + kind + " keeps the name", "Kept Name", instance.ProgramName());
  }
}

void CheckBankRoundTrip(CheckReport& report, const PluginInstance& instance) {
  instance.SelectProgram(2);
  std::vector<float> second = AllParameters(instance);
  instance.SelectProgram(kInitProgram);
  Scramble(instance, 0.11f);
  std::vector<float> current = AllParameters(instance);
  std::vector<std::string> names = AllProgramNames(instance);
  std::vector<unsigned char> bank = GetChunk(instance, kBankChunk);

  instance.SelectProgram(2);
  Scramble(instance, 0.91f);
  Rename(instance, "Changed Two");
  instance.SelectProgram(kInitProgram);
  Scramble(instance, 0.42f);
  Rename(instance, "Changed Init");

  report.Equal("effSetChunk(bank) answer", 1, SetChunk(instance, kBankChunk, bank));
  report.True(AllProgramNames(instance) == names, "bank chunk restores all 64 program names", "different names");
  report.Equal("bank chunk keeps the current program", kInitProgram, instance.Dispatch(vst2::effGetProgram));
  report.True(AllParameters(instance) == current, "bank chunk restores the current program's parameters",
              "different values");
  instance.SelectProgram(2);
  report.True(AllParameters(instance) == second, "bank chunk restores program 2's parameters", "different values");
}

void CheckOddChunks(CheckReport& report, const PluginInstance& instance) {
  instance.SelectProgram(kInitProgram);
  std::string name = instance.ProgramName();
  std::vector<unsigned char> chunk = GetChunk(instance, kProgramChunk);

  // Bare parameter values, without header or tag, given as a bank: read as
  // a program's values.
  std::vector<unsigned char> bare;
  for (int i = 0; i < kParameterCount; ++i) {
    double value = i == kVolume ? 77.0 : kDefaultValues[i];
    unsigned char bytes[sizeof(double)];
    std::memcpy(bytes, &value, sizeof(value));
    bare.insert(bare.end(), bytes, bytes + sizeof(value));
  }
  report.Equal("effSetChunk(bank) with 32 bare doubles: answer", 1, SetChunk(instance, kBankChunk, bare));
  report.Near("Volume from bare doubles", 0.77, instance.GetParameter(kVolume), 1e-6);

  std::vector<unsigned char> truncated(chunk.begin(), chunk.begin() + static_cast<long>(chunk.size() / 2));
  report.Step("effSetChunk with a truncated program chunk");
  report.Equal("effSetChunk(program) cut in the middle: answer", 0, SetChunk(instance, kProgramChunk, truncated));
  std::vector<unsigned char> garbage(37);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 73 + 11);
  report.Step("effSetChunk with 37 bytes of garbage");
  report.Equal("effSetChunk(program) with 37 garbage bytes: answer", 0, SetChunk(instance, kProgramChunk, garbage));
  report.Equal("effSetChunk(bank) with 37 garbage bytes: answer", 0, SetChunk(instance, kBankChunk, garbage));
  report.Step("effSetChunk with size 0");
  report.Equal("effSetChunk(program) with size 0: answer", 0, SetChunk(instance, kProgramChunk, {}));
  report.Step("effSetChunk with a negative size");
  report.Equal("effSetChunk(program) with size -8: answer", 0,
               instance.Dispatch(vst2::effSetChunk, kProgramChunk, -8, chunk.data()));
  // A bank chunk whose name length runs past the end.
  std::vector<unsigned char> broken = {'t', 'f', 'f', 'p', 0x00, 0x00, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x7F, 'x'};
  report.Step("effSetChunk(bank) with a huge name length");
  report.Equal("effSetChunk(bank) with a name length past the end: answer", 0, SetChunk(instance, kBankChunk, broken));
  report.Step("effSetChunk with null ptr");
  report.Equal("effSetChunk with null ptr", 0,
               instance.Dispatch(vst2::effSetChunk, kProgramChunk, static_cast<vst2::IntPtr>(chunk.size()), nullptr));
  report.Equal("effGetChunk with null ptr", 0, instance.Dispatch(vst2::effGetChunk, kProgramChunk, 0, nullptr));

  // After all that the instance still takes a good chunk.
  report.Equal("effSetChunk(program) after bad chunks: answer", 1, SetChunk(instance, kProgramChunk, chunk));
  report.Equal("program name after bad chunks and a good one", name, instance.ProgramName());
}

}  // namespace

void CheckChunks(CheckContext& context) {
  CheckReport& report = context.report;
  report.BeginArea("chunks");
  PluginInstance instance(context.entry);
  if (!instance.IsValid()) return;
  instance.Dispatch(vst2::effOpen);
  CheckProgramLayout(report, instance);
  CheckBankLayout(report, instance);
  CheckProgramRoundTrip(report, instance);
  CheckBankRoundTrip(report, instance);
  CheckOddChunks(report, instance);
}
