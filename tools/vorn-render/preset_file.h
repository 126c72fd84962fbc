// Program (FXP) and bank (FXB) files as hosts exchange them: a big-endian
// header followed either by an opaque chunk for the plug-in's effSetChunk or
// by normalised parameter values.
//
//   FXP: 0 "CcnK", 4 byte size, 8 kind "FxCk"/"FPCh", 12 version, 16 plug-in ID,
//        20 plug-in version, 24 parameter count, 28 name[28], 56 values or
//        chunk size, 60 chunk.
//   FXB: 0 "CcnK", 4 byte size, 8 kind "FxBk"/"FBCh", 12 version, 16 plug-in ID,
//        20 plug-in version, 24 program count, 28 current program, 32 reserved,
//        156 programs (each an "FxCk" FXP) or chunk size, 160 chunk.
//
// The byte-size field is not read: writers disagree on whether it counts the
// first 8 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace render {

enum class PresetKind { kProgramParameters, kProgramChunk, kBankParameters, kBankChunk };

struct PresetProgram {
  std::string name;
  std::vector<float> values;  // normalised, one per parameter
};

struct PresetFile {
  PresetKind kind = PresetKind::kProgramChunk;
  std::int32_t pluginId = 0;
  std::int32_t currentProgram = 0;      // banks only
  std::vector<PresetProgram> programs;  // one for "FxCk", one per program for "FxBk"
  std::vector<unsigned char> chunk;     // "FPCh" and "FBCh"
};

struct PresetReadResult {
  bool ok = false;
  std::string error;
  PresetFile file;
};

PresetReadResult ReadPresetFile(const unsigned char* data, std::size_t size);

}  // namespace render
