#include "raster/px_sys_bitmap.h"

#include "raster/platform/sys_surface.h"

namespace {
// Sections must stay addressable as int byte counts: 32-bit pixels,
// so at most this many pixels per section.
constexpr int64_t kMaxSectionPixels = 0x1FFFFFFF;
}  // namespace

PX_SysBitmap::PX_SysBitmap(int width, int height) : context_(px_surface::CreateContext()) { Resize(width, height); }

PX_SysBitmap::~PX_SysBitmap() {
  ReleaseSection();
  if (context_) px_surface::DeleteContext(context_);
}

void* PX_SysBitmap::DeviceContext() { return context_ ? px_surface::DeviceContextOf(context_) : nullptr; }

void PX_SysBitmap::ReleaseSection() {
  if (section_) px_surface::DeleteSection(context_, section_, previous_);
  section_ = nullptr;
  previous_ = nullptr;
  pixels_ = nullptr;
}

bool PX_SysBitmap::Resize(int width, int height) {
  if (!context_) {
    pixels_ = nullptr;
    width_ = 0;
    height_ = 0;
    return false;
  }
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  if (width > 0 && height > 0 && allocatedWidth_ >= width && allocatedHeight_ >= height && pixels_) {
    return true;
  }
  const int64_t paddedWidth = (static_cast<int64_t>(width) + 3) & ~int64_t{3};
  allocatedWidth_ = paddedWidth > kMaxSectionPixels ? 0 : static_cast<int>(paddedWidth);
  allocatedHeight_ = height;
  ReleaseSection();
  if (allocatedWidth_ < 1 || allocatedHeight_ < 1) {
    // Without a section there is nothing to draw on, whatever size was asked.
    allocatedWidth_ = 0;
    allocatedHeight_ = 0;
    width_ = 0;
    height_ = 0;
    return false;
  }
  if (static_cast<int64_t>(allocatedWidth_) * allocatedHeight_ <= kMaxSectionPixels) {
    section_ =
        px_surface::CreateSection(context_, allocatedWidth_, allocatedHeight_, IsFlipped(), &pixels_, &previous_);
  }
  if (!section_) {
    pixels_ = nullptr;
    allocatedWidth_ = 0;
    allocatedHeight_ = 0;
    width_ = 0;
    height_ = 0;
  }
  return true;
}
