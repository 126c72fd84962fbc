// A bitmap from the process-wide cache seen as a strip of equal frames,
// stacked top to bottom or side by side. The bitmap belongs to the cache.
#pragma once

#include "raster/px_bitmap.h"

struct IBitmapStrip {
  PX_IBitmap* bitmap = nullptr;
  int width = 0;   // of the whole image
  int height = 0;  // of the whole image
  int frames = 1;
  bool sideBySide = false;

  int FrameWidth() const { return sideBySide && frames > 0 ? width / frames : width; }
  int FrameHeight() const { return !sideBySide && frames > 0 ? height / frames : height; }
};
