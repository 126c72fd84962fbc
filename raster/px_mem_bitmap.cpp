#include "raster/px_mem_bitmap.h"

#include <cstdlib>

namespace {
constexpr uintptr_t kPixelAlignment = 64;
constexpr size_t kAlignmentSlack = kPixelAlignment - 1;
// Row padding times pixel size times height must fit the int bookkeeping.
constexpr int64_t kMaxPixelBytes = 0x7FFFFFFF - kAlignmentSlack;
}  // namespace

PX_MemBitmap::PX_MemBitmap(int width, int height) {
  if (width > 0 && height > 0) Resize(width, height);
}

PX_MemBitmap::~PX_MemBitmap() { Release(); }

void PX_MemBitmap::Release() {
  std::free(block_);
  block_ = nullptr;
  allocatedSize_ = 0;
}

uint32_t* PX_MemBitmap::Pixels() {
  if (!block_) return nullptr;
  uintptr_t address = reinterpret_cast<uintptr_t>(block_);
  address = (address + kAlignmentSlack) & ~(kPixelAlignment - 1);
  return reinterpret_cast<uint32_t*>(address);
}

bool PX_MemBitmap::Resize(int width, int height) {
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  // Computed in 64 bits: a size whose byte count cannot be held is treated as
  // an allocation failure rather than wrapping to a small block.
  int64_t needed = 0;
  bool tooLarge = false;
  if (width > 0 && height > 0) {
    const int64_t span = (static_cast<int64_t>(width) + rowAlignMask_) & ~static_cast<int64_t>(rowAlignMask_);
    tooLarge = span > kMaxPixelBytes / 4 / height;
    if (!tooLarge) needed = static_cast<int64_t>(height) * span * 4;
  }
  if (tooLarge) {
    Release();
  } else if (needed > 0) {
    if (!block_) {
      block_ = std::malloc(static_cast<size_t>(needed) + kAlignmentSlack);
      allocatedSize_ = block_ ? static_cast<int>(needed) : 0;
    } else if (allocatedSize_ < needed) {
      int64_t grown = (needed / 4) * 5;
      if (grown > kMaxPixelBytes) grown = needed;
      void* moved = std::realloc(block_, static_cast<size_t>(grown) + kAlignmentSlack);
      if (moved) {
        block_ = moved;
        allocatedSize_ = static_cast<int>(grown);
      } else {
        Release();
        block_ = std::malloc(static_cast<size_t>(needed) + kAlignmentSlack);
        allocatedSize_ = block_ ? static_cast<int>(needed) : 0;
      }
    }
  } else {
    Release();
  }
  if (!block_) {
    width_ = 0;
    height_ = 0;
  }
  return true;
}
