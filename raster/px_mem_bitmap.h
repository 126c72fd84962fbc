// A bitmap in plain heap memory: 64-byte aligned pixels, rows padded to a
// multiple of 4 pixels, storage that grows by a quarter and never shrinks so
// that repeated resizes to nearby sizes do not reallocate.
#pragma once

#include "raster/px_bitmap.h"

class PX_MemBitmap : public PX_IBitmap {
 public:
  explicit PX_MemBitmap(int width = 0, int height = 0);
  ~PX_MemBitmap() override;
  PX_MemBitmap(const PX_MemBitmap&) = delete;
  PX_MemBitmap& operator=(const PX_MemBitmap&) = delete;

  uint32_t* Pixels() override;
  int Width() override { return width_; }
  int Height() override { return height_; }
  int RowSpan() override { return (width_ + rowAlignMask_) & ~rowAlignMask_; }
  // A failed allocation leaves a 0 x 0 bitmap without pixels and still
  // answers true; callers check Width and Height.
  bool Resize(int width, int height) override;

  // Bytes of pixel data the present block can hold.
  int AllocatedSize() const { return allocatedSize_; }

 private:
  void Release();

  void* block_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int allocatedSize_ = 0;
  int rowAlignMask_ = 3;
};
