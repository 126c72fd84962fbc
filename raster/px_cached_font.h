// A font that renders each character once through the system rasterizer
// into an 8-bit coverage image, keeps it in a glyph cache (a table for codes
// below 128, a sorted list above), and composites coverage onto bitmaps with
// the text colour, a blend mode and optional effects. Plain texts may instead
// be drawn by the system in one call (the direct path).
// Window thread only: fonts share one render bitmap.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/px_font.h"

// Font flags.
enum PX_FontFlag : int {
  // Glyphs turned by 90 degrees; the pen moves down instead of right.
  kFontRotated = 0x1,
  // With kFontRotated: turned the other way, and the pen starts one line lower.
  kFontRotatedOtherWay = 0x2,
  kFontRenderAsciiOnly = 0x4,
  kFontSoften = 0x10,
  kFontInverted = 0x20,
  kFontMonochrome = 0x40,
  kFontShadow = 0x80,
  kFontOutline = 0x100,
  kFontOwnsHandle = 0x200,
  kFontDirectAllowed = 0x400,
};

struct PX_GlyphEntry {
  int offset = 0;  // 1 + position in the coverage store; -1 draws nothing; 0 not yet rendered
  int width = 0;
  int height = 0;
  int advance = 0;
  uint16_t code = 0;
  int leftOffset = 0;  // how far the image starts before the pen
};

class PX_CachedFont : public PX_IFont {
 public:
  PX_CachedFont();
  ~PX_CachedFont() override;
  PX_CachedFont(const PX_CachedFont&) = delete;
  PX_CachedFont& operator=(const PX_CachedFont&) = delete;

  void SetFromGdiFont(PX_FontHandle font, int flags) override;
  uint32_t SetTextColour(uint32_t colour) override;
  uint32_t SetBackColour(uint32_t colour) override;
  uint32_t SetEffectColour(uint32_t colour) override;
  int SetBackMode(int mode) override;
  void SetCombineMode(int mode, float alpha) override;
  int DrawText(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags) override;
  uint32_t TextColour() override { return textColour_; }
  PX_FontHandle GdiFont() override { return font_; }
  int LineHeight() override { return lineHeight_; }
  bool DrawGlyph(PX_IBitmap* bitmap, int code, int x, int y, const PX_Rect& clip) override;

  // How many characters were rasterized since the font was set.
  int RenderCount() const { return renderCount_; }
  // True when DrawText with these flags takes the direct path.
  bool UsesDirectPath(uint32_t flags) const;

 private:
  struct TextExtent {
    int width = 0;
    int height = 0;
  };

  const PX_GlyphEntry* FindGlyph(int code);
  void RenderGlyph(PX_GlyphEntry& entry);
  // Moves the pen over the text from (x, y) as measuring and drawing both do,
  // calling visit(code, penX, penY, advance) for every glyph before the pen
  // advances past it; carriage returns and line feeds are handled here.
  template <typename Visit>
  void WalkPen(const char* text, int length, uint32_t flags, int64_t x, int64_t y, Visit&& visit);
  TextExtent Measure(const char* text, int length, uint32_t flags);
  int DrawGlyphs(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags);
  int DrawDirect(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags);
  void CompositeGlyph(PX_IBitmap& bitmap, const PX_GlyphEntry& glyph, int x, int y, const PX_Rect& visible, int weight);

  uint32_t textColour_ = 0;
  uint32_t backColour_ = 0xFFFFFFFF;
  uint32_t effectColour_ = 0xFFFFFFFF;
  int backMode_ = kBackModeTransparent;
  int combineMode_ = 0;
  float weight_ = 1.0f;
  int lineHeight_ = 0;
  int extraLineSpacing_ = 0;
  int flags_ = 0;
  PX_GlyphEntry ascii_[128];
  std::vector<PX_GlyphEntry> glyphs_;
  std::vector<uint8_t> coverage_;
  PX_FontHandle font_ = nullptr;
  int renderCount_ = 0;
};
