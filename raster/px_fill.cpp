#include <algorithm>

#include "raster/px_bitmap_rows.h"
#include "raster/px_blend_rules.h"
#include "raster/px_blit.h"

namespace {

using namespace px_blend;

constexpr uint32_t kHalfMask = 0x7F7F7F7F;
constexpr uint32_t kQuarterMask = 0x3F3F3F3F;
constexpr int kQuarterWeight = 64;
constexpr int kHalfWeight = 128;
constexpr int kThreeQuarterWeight = 192;
constexpr int kFullWeight = 256;

struct FillArea {
  PX_RowWalker rows;
  int x = 0;
  int width = 0;
  int height = 0;
};

template <class PixelRule>
void ForEachPixel(const FillArea& area, PixelRule rule) {
  for (int y = 0; y < area.height; ++y) {
    uint32_t* d = area.rows.Row(y) + area.x;
    for (int x = 0; x < area.width; ++x) d[x] = rule(d[x]);
  }
}

// Exact quarter weights of a copy fill mix whole words with shifts and masks.
bool FillCopyShortcut(const FillArea& area, uint32_t c, int ia) {
  switch (ia) {
    case kFullWeight: ForEachPixel(area, [c](uint32_t) { return c; }); return true;
    case kHalfWeight:
      ForEachPixel(area, [c](uint32_t d) { return ((c >> 1) & kHalfMask) + ((d >> 1) & kHalfMask); });
      return true;
    case kQuarterWeight:
      ForEachPixel(area, [c](uint32_t d) {
        return ((d >> 1) & kHalfMask) + ((c >> 2) & kQuarterMask) + ((d >> 2) & kQuarterMask);
      });
      return true;
    case kThreeQuarterWeight:
      ForEachPixel(area, [c](uint32_t d) {
        return ((c >> 2) & kQuarterMask) + ((d >> 2) & kQuarterMask) + ((c >> 1) & kHalfMask);
      });
      return true;
    default: return false;
  }
}

// In a fill the weight itself stands in for the source alpha channel.
template <class Rule>
void FillWith(const FillArea& area, uint32_t c, int ia) {
  const int b = Byte(c, 0);
  const int g = Byte(c, 1);
  const int r = Byte(c, 2);
  ForEachPixel(area, [=](uint32_t d) { return BlendPixel<Rule>(b, g, r, ia, d, ia); });
}

}  // namespace

void PX_FillRegion(PX_IBitmap* dest, int x, int y, int w, int h, uint32_t colour, float alpha, int mode) {
  if (!dest) return;
  if (mode & kBlitUseAlpha) alpha *= static_cast<float>(colour >> 24) / 255.0f;
  int64_t left = x;
  int64_t top = y;
  int64_t width = w;
  int64_t height = h;
  if (left < 0) {
    width += left;
    left = 0;
  }
  if (top < 0) {
    height += top;
    top = 0;
  }
  const int64_t destWidth = dest->Width();
  const int64_t destHeight = dest->Height();
  if (alpha == 0.0f || !dest->Pixels() || dest->RowSpan() == 0 || width <= 0 || height <= 0 || left >= destWidth ||
      top >= destHeight) {
    return;
  }
  FillArea area;
  area.rows = PX_WalkRows(*dest, static_cast<int>(top));
  area.x = static_cast<int>(left);
  area.width = static_cast<int>(std::min(destWidth - left, width));
  area.height = static_cast<int>(std::min(destHeight - top, height));

  const int operation = mode & kBlitOperationMask;
  const int ia = WeightOf(alpha);
  if (operation == kBlitCopy && FillCopyShortcut(area, colour, ia)) return;
  if (ia == 0) return;
  switch (operation) {
    case kBlitCopy: FillWith<CopyRule>(area, colour, ia); break;
    case kBlitAdd: FillWith<AddRule>(area, colour, ia); break;
    case kBlitDodge: FillWith<DodgeRule>(area, colour, ia); break;
    case kBlitMultiply: FillWith<MultiplyRule>(area, colour, ia); break;
    case kBlitOverlay: FillWith<OverlayRule>(area, colour, ia); break;
    case kBlitHsvAdjust: {
      // The weight's own byte would be 0 at full weight; the fill's alpha
      // stays the weight, limited to a byte.
      const int alphaByte = std::min(ia, 255);
      ForEachPixel(area, [=](uint32_t d) {
        return HsvAdjustPixel(Byte(colour, 2), Byte(colour, 1), Byte(colour, 0), d, ia, alphaByte);
      });
      break;
    }
    default: break;
  }
}
