// Row addressing shared by the blit, fill and glyph loops: rows are RowSpan
// pixels apart, and a flipped bitmap is walked from its last stored row.
#pragma once

#include <cstddef>

#include "raster/px_bitmap.h"

struct PX_RowWalker {
  uint32_t* first = nullptr;  // pixel (0, y0) in picture order
  ptrdiff_t step = 0;         // pixels from one picture row to the next

  uint32_t* Row(int y) const { return first + step * y; }
};

// Walks the rows of bitmap starting at picture row y0; requires pixels.
inline PX_RowWalker PX_WalkRows(PX_IBitmap& bitmap, int y0) {
  const ptrdiff_t span = bitmap.RowSpan();
  uint32_t* pixels = bitmap.Pixels();
  if (bitmap.IsFlipped()) {
    return {pixels + span * (bitmap.Height() - 1 - y0), -span};
  }
  return {pixels + span * y0, span};
}
