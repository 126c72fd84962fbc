#include "tests/editor_win/host/window_capture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "raster/px_mem_bitmap.h"

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;
// A text pixel differs from its background by more than this in a channel.
constexpr int kInkThreshold = 48;

uint32_t PixelAt(PX_IBitmap& bitmap, int x, int y) { return bitmap.Pixels()[y * bitmap.RowSpan() + x]; }

bool InAnyBox(const std::vector<IBox>& boxes, int x, int y) {
  for (const IBox& box : boxes) {
    if (box.Contains(x, y)) return true;
  }
  return false;
}

bool IsInk(uint32_t pixel, uint32_t background) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((background >> shift) & 0xFF);
    if (std::abs(a - b) > kInkThreshold) return true;
  }
  return false;
}

struct Ink {
  long count = 0;
  double centreX = 0.0;
};

Ink MeasureInk(PX_IBitmap& image, const IBox& box) {
  Ink ink;
  const uint32_t background = PixelAt(image, box.left, box.top);
  double sumX = 0.0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      if (!IsInk(PixelAt(image, x, y), background)) continue;
      ++ink.count;
      sumX += x;
    }
  }
  if (ink.count > 0) ink.centreX = sumX / static_cast<double>(ink.count);
  return ink;
}

}  // namespace

std::unique_ptr<PX_IBitmap> CaptureWindow(HWND window) {
  RECT client;
  if (!window || !GetClientRect(window, &client)) return nullptr;
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return nullptr;
  auto image = std::make_unique<PX_MemBitmap>(width, height);
  HDC windowDc = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = section && bits;
  if (ok) {
    HGDIOBJ previous = SelectObject(memory, section);
    ok = BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        image->Pixels()[y * image->RowSpan() + x] = 0xFF000000 | (source[y * width + x] & kRgbMask);
      }
    }
    SelectObject(memory, previous);
  }
  if (section) DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(window, windowDc);
  if (!ok) return nullptr;
  return image;
}

CompareResult CompareWithReference(PX_IBitmap& captured, PX_IBitmap& reference, const std::vector<IBox>& textBoxes) {
  CompareResult result;
  char text[256];
  if (captured.Width() != reference.Width() || captured.Height() != reference.Height()) {
    std::snprintf(text, sizeof text, "captured %d x %d, reference %d x %d", captured.Width(), captured.Height(),
                  reference.Width(), reference.Height());
    result.detail = text;
    return result;
  }
  long differing = 0;
  int firstX = -1;
  int firstY = -1;
  for (int y = 0; y < captured.Height(); ++y) {
    for (int x = 0; x < captured.Width(); ++x) {
      if (InAnyBox(textBoxes, x, y)) continue;
      if (((PixelAt(captured, x, y) ^ PixelAt(reference, x, y)) & kRgbMask) == 0) continue;
      if (differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  if (differing > 0) {
    std::snprintf(text, sizeof text, "%ld pixels outside text differ, the first at (%d, %d): %06X, reference %06X",
                  differing, firstX, firstY, PixelAt(captured, firstX, firstY) & kRgbMask,
                  PixelAt(reference, firstX, firstY) & kRgbMask);
    result.detail = text;
    return result;
  }
  std::string inkSummary;
  for (const IBox& box : textBoxes) {
    const Ink mine = MeasureInk(captured, box);
    const Ink theirs = MeasureInk(reference, box);
    const double ratio = theirs.count > 0 && mine.count > 0 ? static_cast<double>(mine.count) / theirs.count : 0.0;
    const double shift = std::fabs(mine.centreX - theirs.centreX);
    std::snprintf(text, sizeof text, " text (%d,%d): ink %ld/%ld, centre shift %.1f;", box.left, box.top, mine.count,
                  theirs.count, shift);
    inkSummary += text;
    if (ratio < 1.0 / kInkRatioLimit || ratio > kInkRatioLimit || shift > kInkCentreLimit) {
      result.detail = "text differs beyond the tolerance:" + inkSummary;
      return result;
    }
  }
  result.ok = true;
  result.detail = "exact outside text;" + inkSummary;
  return result;
}
