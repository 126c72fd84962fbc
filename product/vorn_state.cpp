// The tagged state record: "Vorn_1.2.0", the current program's index and
// name, then the 32 parameter values. Anything without the exact tag is read
// as bare parameter values.
#include <cstring>

#include "product/vorn.h"

bool Vorn::SerializeState(ByteChunk& chunk) {
  chunk.PutBytes(kStateTag, kStateTagSize);
  chunk.PutInt32(CurrentPresetIndex());
  chunk.PutString(GetPresetName(CurrentPresetIndex()));
  return SerializeParams(chunk);
}

int Vorn::UnserializeState(const ByteChunk& chunk, int pos) {
  // Written so that nothing overflows whatever pos is; a program change
  // reads the state on the audio thread, so the stored index and name are
  // skipped without building anything.
  const bool tagged =
      pos >= 0 && chunk.Size() - pos >= kStateTagSize && std::memcmp(chunk.Data() + pos, kStateTag, kStateTagSize) == 0;
  if (tagged) {
    std::int32_t ignoredIndex = 0;
    pos = chunk.GetInt32(ignoredIndex, pos + kStateTagSize);
    pos = chunk.SkipString(pos);
  }
  return UnserializeParams(chunk, pos);
}
