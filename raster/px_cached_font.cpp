#include "raster/px_cached_font.h"

#include <algorithm>
#include <utility>

#include "raster/platform/glyph_rasterizer.h"
#include "raster/px_blit.h"
#include "raster/px_font_shared.h"
#include "raster/px_glyph_image.h"

namespace {

constexpr int kAsciiCount = 128;
constexpr int kMinRenderSide = 256;
constexpr int kMaxRenderedLineHeight = 1023;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

bool ByCode(const PX_GlyphEntry& a, const PX_GlyphEntry& b) { return a.code < b.code; }

}  // namespace

PX_CachedFont::PX_CachedFont() { px_font_shared::AddFont(); }

PX_CachedFont::~PX_CachedFont() {
  if ((flags_ & kFontOwnsHandle) && font_) PX_DeleteFontHandle(font_);
  px_font_shared::RemoveFont();
}

uint32_t PX_CachedFont::SetTextColour(uint32_t colour) { return std::exchange(textColour_, colour); }
uint32_t PX_CachedFont::SetBackColour(uint32_t colour) { return std::exchange(backColour_, colour); }
uint32_t PX_CachedFont::SetEffectColour(uint32_t colour) { return std::exchange(effectColour_, colour); }
int PX_CachedFont::SetBackMode(int mode) { return std::exchange(backMode_, mode); }

void PX_CachedFont::SetCombineMode(int mode, float alpha) {
  combineMode_ = mode;
  weight_ = alpha;
}

void PX_CachedFont::SetFromGdiFont(PX_FontHandle font, int flags) {
  if ((flags_ & kFontOwnsHandle) && font_ && font_ != font) PX_DeleteFontHandle(font_);
  flags_ = flags;
  font_ = font;
  lineHeight_ = 0;
  if (font_) {
    if (PX_SysBitmap* render = px_font_shared::RenderBitmap(kMinRenderSide)) {
      lineHeight_ = px_glyphs::CellHeight(font_, *render);
    }
  }
  std::fill(std::begin(ascii_), std::end(ascii_), PX_GlyphEntry{});
  glyphs_.clear();
  coverage_.clear();
  renderCount_ = 0;
  if (font_ && (flags_ & kFontRenderAsciiOnly)) {
    for (int code = 0; code < kAsciiCount; ++code) {
      ascii_[code].code = static_cast<uint16_t>(code);
      RenderGlyph(ascii_[code]);
    }
  }
}

const PX_GlyphEntry* PX_CachedFont::FindGlyph(int code) {
  if (!font_ || code < 0 || code > 0xFFFF) return nullptr;
  if (code < kAsciiCount) {
    PX_GlyphEntry& entry = ascii_[code];
    if (entry.offset == 0) {
      entry.code = static_cast<uint16_t>(code);
      RenderGlyph(entry);
    }
    return &entry;
  }
  PX_GlyphEntry key;
  key.code = static_cast<uint16_t>(code);
  auto found = std::lower_bound(glyphs_.begin(), glyphs_.end(), key, ByCode);
  if (found != glyphs_.end() && found->code == key.code) return &*found;
  if (flags_ & kFontRenderAsciiOnly) return nullptr;
  glyphs_.push_back(key);
  RenderGlyph(glyphs_.back());
  std::sort(glyphs_.begin(), glyphs_.end(), ByCode);
  return &*std::lower_bound(glyphs_.begin(), glyphs_.end(), key, ByCode);
}

void PX_CachedFont::RenderGlyph(PX_GlyphEntry& entry) {
  const uint16_t code = entry.code;
  entry = PX_GlyphEntry{};
  entry.code = code;
  entry.offset = -1;
  if (lineHeight_ > kMaxRenderedLineHeight) return;
  PX_SysBitmap* render = px_font_shared::RenderBitmap(2 * std::max(1, lineHeight_) + 8);
  if (!render) return;
  ++renderCount_;
  const int margin = px_glyph_image::Margin(lineHeight_);
  int advance = 0;
  int height = 0;
  px_glyphs::MeasureChar(font_, *render, code, &advance, &height);
  if (advance < 1 || height < 1) return;
  const int areaWidth = std::min(advance + 2 * margin, render->Width());
  height = std::min(height, render->Height());
  PX_FillRegion(render, 0, 0, areaWidth, height, kOpaqueBlack, 1.0f, kBlitCopy);
  px_glyphs::DrawChar(font_, *render, code, margin);
  if (flags_ & kFontSoften) px_glyph_image::Soften(render->Pixels(), render->RowSpan(), areaWidth, height);

  px_glyph_image::Coverage image = px_glyph_image::Extract(render->Pixels(), render->RowSpan(), areaWidth, height,
                                                           margin, advance, (flags_ & kFontInverted) != 0);
  if (flags_ & kFontRotated) px_glyph_image::Turn(image, (flags_ & kFontRotatedOtherWay) != 0);
  if (flags_ & kFontOutline) {
    px_glyph_image::AddOutline(image);
  } else if (flags_ & kFontShadow) {
    px_glyph_image::AddShadow(image);
  } else if (flags_ & kFontMonochrome) {
    px_glyph_image::MakeMonochrome(image);
  }
  entry.offset = static_cast<int>(coverage_.size()) + 1;
  entry.width = image.width;
  entry.height = image.height;
  entry.advance = advance;
  entry.leftOffset = margin - image.firstColumn;
  coverage_.insert(coverage_.end(), image.pixels.begin(), image.pixels.end());
}
