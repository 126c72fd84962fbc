#include <algorithm>
#include <cstring>

#include "raster/px_bitmap_rows.h"
#include "raster/px_blend_rules.h"
#include "raster/px_blit.h"

namespace {

using namespace px_blend;

constexpr uint32_t kHalfMask = 0x7F7F7F7F;

struct BlitArea {
  PX_RowWalker src;
  PX_RowWalker dst;
  int srcX = 0;
  int dstX = 0;
  int width = 0;
  int height = 0;
};

template <class PixelRule>
void ForEachPixel(const BlitArea& area, PixelRule rule) {
  for (int y = 0; y < area.height; ++y) {
    const uint32_t* s = area.src.Row(y) + area.srcX;
    uint32_t* d = area.dst.Row(y) + area.dstX;
    for (int x = 0; x < area.width; ++x) d[x] = rule(s[x], d[x]);
  }
}

// The source alpha scaled weight of the use-alpha rules: ia * (sa + 1) / 256.
inline int AlphaWeight(int ia, uint32_t s) { return ia * (Byte(s, 3) + 1) / 256; }

template <class Rule>
void BlendArea(const BlitArea& area, int ia) {
  ForEachPixel(area, [ia](uint32_t s, uint32_t d) { return BlendPixel<Rule>(s, d, ia); });
}

template <class Rule>
void BlendAreaScaledByAlpha(const BlitArea& area, int ia) {
  ForEachPixel(area, [ia](uint32_t s, uint32_t d) { return BlendPixel<Rule>(s, d, AlphaWeight(ia, s)); });
}

void CopyWithAlpha(const BlitArea& area, int ia) {
  if (ia == 256) {
    ForEachPixel(area, [](uint32_t s, uint32_t d) {
      const int sa = Byte(s, 3);
      if (sa == 0) return d;
      if (sa == 255) return s | 0xFF000000u;
      auto mix = [&](int i) { return Byte(s, i) + ((Byte(d, i) - Byte(s, i)) * (255 - sa)) / 256; };
      return Pack(mix(0), mix(1), mix(2), std::min(255, Byte(d, 3) + sa));
    });
    return;
  }
  ForEachPixel(area, [ia](uint32_t s, uint32_t d) {
    if (Byte(s, 3) == 0) return d;
    const int w = AlphaWeight(ia, s);
    auto mix = [&](int i) { return Byte(s, i) + (Byte(d, i) - Byte(s, i)) * (256 - w) / 256; };
    return Pack(mix(0), mix(1), mix(2), std::min(255, Byte(d, 3) + w));
  });
}

void AddWithAlpha(const BlitArea& area, int ia) {
  ForEachPixel(area, [ia](uint32_t s, uint32_t d) {
    const int sa = Byte(s, 3);
    if (sa == 0) return d;
    const int w = AlphaWeight(ia, s);
    auto add = [&](int i) { return Clamp255(Byte(d, i) + w * Byte(s, i) / 256); };
    return Pack(add(0), add(1), add(2), Clamp255(Byte(d, 3) + sa * w / 256));
  });
}

void MultiplyWithAlpha(const BlitArea& area, int ia) {
  ForEachPixel(area, [ia](uint32_t s, uint32_t d) {
    if (Byte(s, 3) == 0) return d;
    const int w = AlphaWeight(ia, s);
    auto multiply = [&](int i) { return ((w * Byte(s, i) + ((256 - w) << 8)) * Byte(d, i)) >> 16; };
    return Pack(multiply(0), multiply(1), multiply(2), multiply(3));
  });
}

void HsvAdjust(const BlitArea& area, int ia, bool useAlpha) {
  ForEachPixel(area, [ia, useAlpha](uint32_t s, uint32_t d) {
    const int w = useAlpha ? AlphaWeight(ia, s) : ia;
    return HsvAdjustPixel(Byte(s, 2), Byte(s, 1), Byte(s, 0), d, w, Byte(s, 3));
  });
}

void ChannelCopy(const BlitArea& area, int mode) {
  const int from = mode & 3;
  const int to = (mode >> 2) & 3;
  for (int y = 0; y < area.height; ++y) {
    const auto* s = reinterpret_cast<const uint8_t*>(area.src.Row(y) + area.srcX);
    auto* d = reinterpret_cast<uint8_t*>(area.dst.Row(y) + area.dstX);
    for (int x = 0; x < area.width; ++x) d[4 * x + to] = s[4 * x + from];
  }
}

void Blend(const BlitArea& area, int mode, float alpha) {
  const int operation = mode & kBlitOperationMask;
  if (operation >= kBlitChannelCopy) {
    ChannelCopy(area, mode);
    return;
  }
  const bool useAlpha = (mode & kBlitUseAlpha) != 0;
  if (operation == kBlitCopy && !useAlpha) {
    if (alpha >= 1.0f) {
      for (int y = 0; y < area.height; ++y) {
        // memmove: a bitmap may be blitted onto itself.
        std::memmove(area.dst.Row(y) + area.dstX, area.src.Row(y) + area.srcX, sizeof(uint32_t) * area.width);
      }
      return;
    }
    if (alpha == 0.5f) {
      ForEachPixel(area, [](uint32_t s, uint32_t d) { return ((s >> 1) & kHalfMask) + ((d >> 1) & kHalfMask); });
      return;
    }
  }
  const int ia = WeightOf(alpha);
  if (ia == 0) return;
  switch (operation) {
    case kBlitCopy:
      if (useAlpha) {
        CopyWithAlpha(area, ia);
      } else {
        BlendArea<CopyRule>(area, ia);
      }
      break;
    case kBlitAdd:
      if (useAlpha) {
        AddWithAlpha(area, ia);
      } else {
        BlendArea<AddRule>(area, ia);
      }
      break;
    case kBlitDodge:
      if (useAlpha) {
        BlendAreaScaledByAlpha<DodgeRule>(area, ia);
      } else {
        BlendArea<DodgeRule>(area, ia);
      }
      break;
    case kBlitMultiply:
      if (useAlpha) {
        MultiplyWithAlpha(area, ia);
      } else {
        BlendArea<MultiplyRule>(area, ia);
      }
      break;
    case kBlitOverlay:
      if (useAlpha) {
        BlendAreaScaledByAlpha<OverlayRule>(area, ia);
      } else {
        BlendArea<OverlayRule>(area, ia);
      }
      break;
    case kBlitHsvAdjust: HsvAdjust(area, ia, useAlpha); break;
    default: break;
  }
}

}  // namespace

void PX_BlitRegion(PX_IBitmap* dest, PX_IBitmap* src, int dstX, int dstY, const PX_Rect* srcRect, float alpha,
                   int mode) {
  if (!dest || !src || alpha == 0.0f) return;
  // Clipping runs in 64 bits so that extreme rectangles and offsets cannot wrap.
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = src->Width();
  int64_t bottom = src->Height();
  int64_t x = dstX;
  int64_t y = dstY;
  if (srcRect) {
    right = std::min<int64_t>(srcRect->right, right);
    bottom = std::min<int64_t>(srcRect->bottom, bottom);
    left = srcRect->left;
    top = srcRect->top;
    if (left < 0) {
      x -= left;
      left = 0;
    }
    if (top < 0) {
      y -= top;
      top = 0;
    }
  }
  if (x < 0) {
    left -= x;
    x = 0;
  }
  if (y < 0) {
    top -= y;
    y = 0;
  }
  const int64_t destWidth = dest->Width();
  const int64_t destHeight = dest->Height();
  if (left >= right || top >= bottom || x >= destWidth || y >= destHeight) return;
  const int64_t width = std::min(right, destWidth - x + left) - left;
  const int64_t height = std::min(bottom, destHeight - y + top) - top;
  if (width <= 0 || height <= 0 || !dest->Pixels() || !src->Pixels()) return;

  BlitArea area;
  area.src = PX_WalkRows(*src, static_cast<int>(top));
  area.dst = PX_WalkRows(*dest, static_cast<int>(y));
  area.srcX = static_cast<int>(left);
  area.dstX = static_cast<int>(x);
  area.width = static_cast<int>(width);
  area.height = static_cast<int>(height);
  Blend(area, mode, alpha);
}
