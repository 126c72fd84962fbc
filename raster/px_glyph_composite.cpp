// Drawing one cached glyph: its coverage image is combined with the target
// by the font's combine mode. Antialiased glyphs weight the text colour by
// coverage; monochrome glyphs store or blend it where covered; outline and
// shadow glyphs use the text colour at full coverage and the effect colour at
// the effect coverage.
#include <algorithm>

#include "raster/px_bitmap_rows.h"
#include "raster/px_blend_rules.h"
#include "raster/px_blit.h"
#include "raster/px_cached_font.h"
#include "raster/px_glyph_image.h"

namespace {

using namespace px_blend;

constexpr int kFullWeight = 256;

// The text colour as an opaque source, combined into d with weight ia.
uint32_t Combine(int operation, uint32_t colour, uint32_t d, int ia) {
  const int b = Byte(colour, 0);
  const int g = Byte(colour, 1);
  const int r = Byte(colour, 2);
  switch (operation) {
    case kBlitCopy: return BlendPixel<CopyRule>(b, g, r, 255, d, ia);
    case kBlitAdd: return BlendPixel<AddRule>(b, g, r, 255, d, ia);
    case kBlitDodge: return BlendPixel<DodgeRule>(b, g, r, 255, d, ia);
    case kBlitMultiply: return BlendPixel<MultiplyRule>(b, g, r, 255, d, ia);
    case kBlitOverlay: return BlendPixel<OverlayRule>(b, g, r, 255, d, ia);
    case kBlitHsvAdjust: return HsvAdjustPixel(r, g, b, d, ia, 255);
    default: return d;
  }
}

struct GlyphArea {
  const uint8_t* coverage;  // first visible coverage byte
  int coverageSpan;
  PX_RowWalker rows;
  int x;
  int width;
  int height;
};

template <class PixelRule>
void ForEachCovered(const GlyphArea& area, PixelRule rule) {
  for (int y = 0; y < area.height; ++y) {
    const uint8_t* c = area.coverage + static_cast<ptrdiff_t>(y) * area.coverageSpan;
    uint32_t* d = area.rows.Row(y) + area.x;
    for (int x = 0; x < area.width; ++x) {
      if (c[x]) d[x] = rule(c[x], d[x]);
    }
  }
}

// k = how much of the target survives: 255 - c at full weight.
void CopyAntialiased(const GlyphArea& area, uint32_t colour, int weight) {
  const int b = Byte(colour, 0);
  const int g = Byte(colour, 1);
  const int r = Byte(colour, 2);
  ForEachCovered(area, [=](int c, uint32_t d) {
    const int k = weight == kFullWeight ? 255 - c : kFullWeight - std::min(kFullWeight, weight * c / 256);
    return Pack((Byte(d, 0) - b) * k / 256 + b, (Byte(d, 1) - g) * k / 256 + g, (Byte(d, 2) - r) * k / 256 + r,
                255 + ((Byte(d, 3) - 255) * k) / 256);
  });
}

}  // namespace

bool PX_CachedFont::DrawGlyph(PX_IBitmap* bitmap, int code, int x, int y, const PX_Rect& clip) {
  if (!bitmap || !bitmap->Pixels()) return false;
  const PX_GlyphEntry* found = FindGlyph(code);
  if (!found || found->offset <= 0) return false;
  const PX_GlyphEntry glyph = *found;
  int64_t left = x;
  int64_t top = y;
  if (!(flags_ & kFontRotated)) {
    left -= glyph.leftOffset;
  } else if (flags_ & kFontRotatedOtherWay) {
    top += glyph.advance + glyph.leftOffset - glyph.height;
  } else {
    top -= glyph.leftOffset;
  }
  PX_Rect visible;
  visible.left = static_cast<int>(std::max<int64_t>({left, clip.left, 0}));
  visible.top = static_cast<int>(std::max<int64_t>({top, clip.top, 0}));
  visible.right = static_cast<int>(std::min<int64_t>({left + glyph.width, clip.right, bitmap->Width()}));
  visible.bottom = static_cast<int>(std::min<int64_t>({top + glyph.height, clip.bottom, bitmap->Height()}));
  if (visible.left >= visible.right || visible.top >= visible.bottom) return false;

  const int weight = px_blend::WeightOf(weight_);
  if (backMode_ == kBackModeOpaque) {
    PX_FillRegion(bitmap, visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top,
                  backColour_, weight_, combineMode_ & ~kBlitUseAlpha);
  }
  if (weight == 0) return true;
  CompositeGlyph(*bitmap, glyph, static_cast<int>(left), static_cast<int>(top), visible, weight);
  return true;
}

void PX_CachedFont::CompositeGlyph(PX_IBitmap& bitmap, const PX_GlyphEntry& glyph, int x, int y, const PX_Rect& visible,
                                   int weight) {
  GlyphArea area;
  area.coverageSpan = glyph.width;
  area.coverage = coverage_.data() + (glyph.offset - 1) + static_cast<ptrdiff_t>(visible.top - y) * glyph.width +
                  (visible.left - x);
  area.rows = PX_WalkRows(bitmap, visible.top);
  area.x = visible.left;
  area.width = visible.right - visible.left;
  area.height = visible.bottom - visible.top;

  const int operation = combineMode_ & kBlitOperationMask;
  if (operation > kBlitHsvAdjust) return;
  const bool store = operation == kBlitCopy && weight == kFullWeight;
  const uint32_t text = textColour_;
  const uint32_t effect = effectColour_;
  if (flags_ & (kFontShadow | kFontOutline)) {
    ForEachCovered(area, [=](int c, uint32_t d) {
      const uint32_t colour = c == px_glyph_image::kFullCoverage ? text : effect;
      return store ? colour : Combine(operation, colour, d, weight);
    });
  } else if (flags_ & kFontMonochrome) {
    ForEachCovered(area, [=](int, uint32_t d) { return store ? text : Combine(operation, text, d, weight); });
  } else if (operation == kBlitCopy) {
    CopyAntialiased(area, text, weight);
  } else {
    ForEachCovered(area, [=](int c, uint32_t d) {
      const int w = weight == kFullWeight ? c + 1 : std::min(kFullWeight, weight * c / 256);
      return Combine(operation, text, d, w);
    });
  }
}
