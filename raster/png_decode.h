// The libpng decode shared by the memory, resource and file loaders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "raster/px_bitmap.h"

namespace px_png {

constexpr size_t kSignatureLength = 8;

// True when bytes start with the 8-byte PNG signature.
bool HasSignature(const uint8_t* bytes, size_t length);

// Where the encoded bytes come from: a memory cursor, or an open file
// (already past nothing: the decoder reads the signature itself).
struct Source {
  const uint8_t* cursor = nullptr;
  size_t unread = 0;
  std::FILE* file = nullptr;
};

// Decodes into target when given (resized to the image), else into a new
// PX_MemBitmap. Returns the filled bitmap or null.
PX_IBitmap* Decode(Source& source, PX_IBitmap* target);

}  // namespace px_png
