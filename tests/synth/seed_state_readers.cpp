// Writes a seed corpus for fuzz_state_readers with the plug-in's own writers:
// one file per reader, each the selector byte followed by real data.
#include <cstdio>
#include <fstream>
#include <string>

#include "product/vorn.h"

namespace {

void Write(const std::string& dir, const std::string& name, std::uint8_t selector, const ByteChunk& data) {
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out.put(static_cast<char>(selector));
  out.write(reinterpret_cast<const char*>(data.Data()), data.Size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_state_readers <dir>\n");
    return 2;
  }
  const std::string dir = argv[1];
  Vorn vorn(nullptr);
  vorn.FillEmptyPresets(PluginBase::kPresetCount);
  vorn.SelectPreset(1);

  ByteChunk state;
  vorn.SerializeState(state);
  Write(dir, "state", 0, state);
  ByteChunk bare;
  vorn.SerializeParams(bare);
  Write(dir, "bare-state", 0, bare);

  ByteChunk presets;
  vorn.SerializePresets(presets);
  Write(dir, "presets", 1, presets);

  ByteChunk program;
  vorn.BuildProgramFile(program);
  Write(dir, "program.fxp", 2, program);

  ByteChunk bank;
  vorn.BuildBankFile(bank);
  Write(dir, "bank.fxb", 3, bank);

  ByteChunk bankChunk;
  WriteChunkHeader(bankChunk);
  vorn.SerializePresets(bankChunk);
  Write(dir, "bank-chunk", 4, bankChunk);

  ByteChunk programChunk;
  WriteChunkHeader(programChunk);
  vorn.SerializeState(programChunk);
  programChunk.PutString(vorn.GetPresetName(1));
  Write(dir, "program-chunk", 5, programChunk);
  return 0;
}
