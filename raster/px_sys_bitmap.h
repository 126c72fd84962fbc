// A bitmap whose pixels the window layer can present: on Windows a GDI DIB
// section selected into a memory device context, elsewhere a plain pixel store
// with the same layout. Shrinking keeps the larger section (the row span stays
// the allocated width), so a window that is resized back and forth does not
// reallocate.
#pragma once

#include "raster/px_bitmap.h"

class PX_SysBitmap : public PX_IBitmap {
 public:
  explicit PX_SysBitmap(int width = 0, int height = 0);
  ~PX_SysBitmap() override;
  PX_SysBitmap(const PX_SysBitmap&) = delete;
  PX_SysBitmap& operator=(const PX_SysBitmap&) = delete;

  uint32_t* Pixels() override { return pixels_; }
  int Width() override { return width_; }
  int Height() override { return height_; }
  int RowSpan() override { return allocatedWidth_; }
  // A failed section leaves a 0 x 0 bitmap without pixels and answers true.
  bool Resize(int width, int height) override;
  void* DeviceContext() override;

 private:
  void ReleaseSection();

  uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  void* context_ = nullptr;
  int allocatedWidth_ = 0;
  int allocatedHeight_ = 0;
  void* section_ = nullptr;
  void* previous_ = nullptr;
};
