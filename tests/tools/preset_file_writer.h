// Program (FXP) and bank (FXB) files in every form hosts write, for the
// tests and the fuzz seeds of the preset file reader. The byte-size field is
// written as 0: readers must not rely on it.
#pragma once

#include <cstdint>
#include <vector>

namespace tooltest {

using Bytes = std::vector<unsigned char>;

// "FxCk": the normalised values as big-endian floats.
Bytes ParameterProgram(std::int32_t pluginId, const char* name, const std::vector<float>& values);
// "FPCh": an opaque chunk.
Bytes ChunkProgram(std::int32_t pluginId, const char* name, const Bytes& chunk);
// "FxBk": one "FxCk" record per program.
Bytes ParameterBank(std::int32_t pluginId, std::uint32_t currentProgram, const std::vector<Bytes>& programs);
// "FBCh": an opaque chunk.
Bytes ChunkBank(std::int32_t pluginId, std::uint32_t programCount, std::uint32_t currentProgram, const Bytes& chunk);

}  // namespace tooltest
