// Text layout of PX_CachedFont: measuring, placing in a box, clipping, line
// feeds, and the choice between cached glyphs and direct system drawing.
#include <algorithm>
#include <cstring>

#include "raster/platform/glyph_rasterizer.h"
#include "raster/px_blend_rules.h"
#include "raster/px_blit.h"
#include "raster/px_cached_font.h"
#include "raster/px_direct_path.h"
#include "raster/px_font_shared.h"
#include "raster/px_glyph_image.h"
#include "raster/px_utf8.h"

namespace {

constexpr uint32_t kAlignmentFlags = kTextCentre | kTextRight | kTextVerticalCentre | kTextBottom;
constexpr int kBlank = 32;

int TextLength(const char* text, int length) {
  if (!text) return 0;
  return length < 0 ? static_cast<int>(std::strlen(text)) : length;
}

// Where text of the given size starts inside box, by the alignment flags.
// Computed in 64 bits: boxes may come with any coordinates.
void Place(const PX_Rect& box, int width, int height, uint32_t flags, int64_t* x, int64_t* y) {
  *x = box.left;
  *y = box.top;
  if (flags & kTextCentre) {
    *x = box.left + (int64_t{box.right} - box.left - width) / 2;
  } else if (flags & kTextRight) {
    *x = int64_t{box.right} - width;
  }
  if (flags & kTextVerticalCentre) {
    *y = box.top + (int64_t{box.bottom} - box.top - height) / 2;
  } else if (flags & kTextBottom) {
    *y = int64_t{box.bottom} - height;
  }
}

// Limits a coordinate to a range where pixel arithmetic cannot overflow.
int Limited(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -0x3FFFFFFF, 0x3FFFFFFF)); }

PX_Rect Intersect(const PX_Rect& a, const PX_Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const PX_Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

// How far below the top each line's pen starts: a font turned the other way
// starts one line lower.
int PenStartDown(int fontFlags, int lineHeight) {
  constexpr int kTurnedOtherWay = kFontRotated | kFontRotatedOtherWay;
  return (fontFlags & kTurnedOtherWay) == kTurnedOtherWay ? lineHeight : 0;
}

}  // namespace

bool PX_CachedFont::UsesDirectPath(uint32_t flags) const {
  PX_DirectPathInputs in;
  in.systemDrawing = px_glyphs::HasSystemTextDrawing();
  in.wine = in.systemDrawing && px_glyphs::IsWine();
  in.hasFont = font_ != nullptr;
  in.fontFlags = flags_;
  in.drawFlags = flags;
  in.lineHeight = lineHeight_;
  in.extraLineSpacing = extraLineSpacing_;
  return PX_ChooseDirectPath(in);
}

int PX_CachedFont::DrawText(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags) {
  if (!box || !text) return 0;
  if (!bitmap && !(flags & kTextMeasureOnly)) return 0;
  length = TextLength(text, length);
  if (UsesDirectPath(flags)) return DrawDirect(bitmap, text, length, box, flags);
  if (flags & kTextMeasureOnly) {
    const TextExtent extent = Measure(text, length, flags);
    box->right = Limited(int64_t{box->left} + extent.width);
    box->bottom = Limited(int64_t{box->top} + extent.height);
    return (flags_ & kFontRotated) ? extent.width : extent.height;
  }
  return DrawGlyphs(bitmap, text, length, box, flags);
}

template <typename Visit>
void PX_CachedFont::WalkPen(const char* text, int length, uint32_t flags, int64_t x, int64_t y, Visit&& visit) {
  const bool rotated = (flags_ & kFontRotated) != 0;
  const int lineStep = lineHeight_ + extraLineSpacing_;
  const int64_t startY = y + PenStartDown(flags_, lineHeight_);
  int64_t penX = x;
  int64_t penY = startY;
  for (int i = 0; i < length;) {
    int code = 0;
    i += DecodeUtf8Char(text + i, length - i, &code);
    if (code == '\r') continue;
    if (code == '\n') {
      if (!(flags & kTextSingleLine)) {
        if (rotated) {
          penY = startY;
          penX += lineStep;
        } else {
          penX = x;
          penY += lineStep;
        }
        continue;
      }
      code = kBlank;
    }
    const PX_GlyphEntry* glyph = FindGlyph(code);
    const int advance = glyph && glyph->offset > 0 ? glyph->advance : 0;
    visit(code, penX, penY, advance);
    if (rotated) {
      penY += advance;
    } else {
      penX += advance;
    }
  }
}

PX_CachedFont::TextExtent PX_CachedFont::Measure(const char* text, int length, uint32_t flags) {
  const bool rotated = (flags_ & kFontRotated) != 0;
  int64_t right = 0;
  int64_t bottom = 0;
  WalkPen(text, length, flags, 0, 0, [&](int, int64_t penX, int64_t penY, int advance) {
    if (rotated) {
      right = std::max(right, penX + lineHeight_);
      bottom = std::max(bottom, penY + advance);
    } else {
      right = std::max(right, penX + advance);
      bottom = std::max(bottom, penY + lineHeight_);
    }
  });
  TextExtent extent;
  extent.width = static_cast<int>(std::min<int64_t>(right, 0x3FFFFFFF));
  extent.height = static_cast<int>(std::min<int64_t>(bottom, 0x3FFFFFFF));
  return extent;
}

int PX_CachedFont::DrawGlyphs(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags) {
  const float savedWeight = weight_;
  float weight = weight_;
  if (flags & kTextUseColourAlpha) weight *= static_cast<float>(textColour_ >> 24) / 255.0f;
  if (px_blend::WeightOf(weight) == 0) return 0;

  const TextExtent extent = Measure(text, length, flags);
  int64_t x = box->left;
  int64_t y = box->top;
  if (flags & kAlignmentFlags) Place(*box, extent.width, extent.height, flags, &x, &y);
  const PX_Rect bounds{0, 0, bitmap->Width(), bitmap->Height()};
  const PX_Rect clip = (flags & kTextNoClip) ? bounds : Intersect(*box, bounds);
  if (IsEmpty(clip)) return 0;

  // DrawGlyph reads the weight from the font; this call's weight stands in.
  weight_ = weight;
  WalkPen(text, length, flags, x, y, [&](int code, int64_t penX, int64_t penY, int) {
    const bool onScreen = penX > -0x3FFFFFFF && penX < 0x3FFFFFFF && penY > -0x3FFFFFFF && penY < 0x3FFFFFFF;
    if (onScreen) DrawGlyph(bitmap, code, static_cast<int>(penX), static_cast<int>(penY), clip);
  });
  weight_ = savedWeight;
  return (flags_ & kFontRotated) ? extent.width : extent.height;
}

int PX_CachedFont::DrawDirect(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags) {
  px_glyphs::DirectText direct;
  direct.text = text;
  direct.length = length;
  direct.flags = flags;
  direct.textColour = textColour_;
  direct.backColour = backColour_;
  direct.backMode = backMode_;
  PX_SysBitmap* render = px_font_shared::RenderBitmap(0);
  if ((flags & kTextMeasureOnly) || !bitmap) {
    return render ? px_glyphs::DrawTextDirect(font_, render->DeviceContext(), direct, box) : 0;
  }
  if (void* dc = bitmap->DeviceContext()) return px_glyphs::DrawTextDirect(font_, dc, direct, box);
  if (!render) return 0;

  // A bitmap without a device context: draw on a copy of the affected area
  // in the scratch bitmap and copy it back with the font's weight.
  PX_Rect measured{0, 0, 0, 0};
  direct.flags = (flags & ~kAlignmentFlags) | kTextMeasureOnly;
  px_glyphs::DrawTextDirect(font_, render->DeviceContext(), direct, &measured);
  int64_t placedX = 0;
  int64_t placedY = 0;
  Place(*box, measured.right, measured.bottom, flags, &placedX, &placedY);
  const int x = Limited(placedX);
  const int y = Limited(placedY);
  const int margin = px_glyph_image::Margin(lineHeight_);
  PX_Rect area{x - margin, y, Limited(int64_t{x} + measured.right + margin), Limited(int64_t{y} + measured.bottom)};
  const PX_Rect bounds{0, 0, bitmap->Width(), bitmap->Height()};
  area = Intersect(area, (flags & kTextNoClip) ? bounds : Intersect(*box, bounds));
  if (IsEmpty(area)) return 0;
  PX_SysBitmap& scratch = px_font_shared::ScratchBitmap();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  scratch.Resize(std::max(width, scratch.Width()), std::max(height, scratch.Height()));
  if (!scratch.Pixels()) return 0;
  PX_BlitRegion(&scratch, bitmap, 0, 0, &area, 1.0f, kBlitCopy);
  PX_Rect shifted{x - area.left, y - area.top, x - area.left + measured.right, y - area.top + measured.bottom};
  direct.flags = (flags & ~(kAlignmentFlags | kTextMeasureOnly)) | kTextNoClip;
  const int drawn = px_glyphs::DrawTextDirect(font_, scratch.DeviceContext(), direct, &shifted);
  const PX_Rect back{0, 0, width, height};
  PX_BlitRegion(bitmap, &scratch, area.left, area.top, &back, weight_, kBlitCopy);
  return drawn;
}
