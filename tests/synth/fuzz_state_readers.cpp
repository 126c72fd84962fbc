// Feeds any bytes to every reader of stored state: the state record, the
// preset list, program and bank files, and the host's set-chunk. The first
// byte chooses the reader; the rest is the data.
#include <cstddef>
#include <cstdint>

#include "product/vorn.h"

namespace {

Vorn& Instance() {
  static Vorn* vorn = [] {
    auto* created = new Vorn(nullptr);
    created->FillEmptyPresets(PluginBase::kPresetCount);
    return created;
  }();
  return *vorn;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Vorn& vorn = Instance();
  ByteChunk chunk;
  chunk.PutBytes(data + 1, static_cast<int>(size - 1));
  vst2::AEffect* effect = vorn.Effect();
  switch (data[0] % 6) {
    case 0: vorn.UnserializeState(chunk, 0); break;
    case 1: vorn.UnserializePresets(chunk, 0); break;
    case 2: vorn.LoadProgramFromMemory(chunk); break;
    case 3: vorn.LoadBankFileFromMemory(chunk); break;
    case 4: effect->dispatcher(effect, vst2::effSetChunk, 0, chunk.Size(), chunk.Data(), 0.0f); break;
    default: effect->dispatcher(effect, vst2::effSetChunk, 1, chunk.Size(), chunk.Data(), 0.0f); break;
  }
  return 0;
}
