// Small helpers for building bitmaps with known pixels in the checks.
#pragma once

#include <initializer_list>

#include "raster/px_mem_bitmap.h"

inline uint32_t& PixelAt(PX_IBitmap& bitmap, int x, int y) {
  return bitmap.Pixels()[static_cast<size_t>(y) * bitmap.RowSpan() + x];
}

inline void FillAll(PX_IBitmap& bitmap, uint32_t value) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) PixelAt(bitmap, x, y) = value;
  }
}

// Each pixel gets a value unique to its position: 0xA0000000 | y << 8 | x.
inline void FillNumbered(PX_IBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) PixelAt(bitmap, x, y) = 0xA0000000u | uint32_t(y) << 8 | uint32_t(x);
  }
}

// A memory bitmap that reports itself flipped: rows are stored bottom-up.
class FlippedBitmap : public PX_MemBitmap {
 public:
  using PX_MemBitmap::PX_MemBitmap;
  bool IsFlipped() override { return true; }
};
