// The raster layer's bitmap interface. A pixel is 0xAARRGGBB, stored as the
// bytes B, G, R, A with straight (not premultiplied) alpha. Rows are RowSpan
// pixels apart; a flipped bitmap stores its rows bottom-up.
#pragma once

#include <cstdint>

class PX_IBitmap {
 public:
  virtual ~PX_IBitmap() = default;
  // First pixel of the top stored row, or null when there are no pixels.
  virtual uint32_t* Pixels() = 0;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual int RowSpan() = 0;
  virtual bool IsFlipped() { return false; }
  // True when the size was changed. A pointer from Pixels does not survive it.
  virtual bool Resize(int width, int height) = 0;
  // The GDI device context that draws into the pixels (HDC), or null.
  virtual void* DeviceContext() { return nullptr; }
  virtual intptr_t Extended(int id, void* data) { return 0; }
};
