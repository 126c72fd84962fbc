// One program slot of the bank.
#pragma once

#include "plugin/byte_chunk.h"

struct IPreset {
  static constexpr int kNameSize = 256;

  bool initialized = false;
  char name[kNameSize] = "empty";
  ByteChunk state;
};
