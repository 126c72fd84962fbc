#include "raster/px_direct_path.h"

#include "raster/px_cached_font.h"

namespace {
// Fonts that change the glyphs' look need the glyph path.
constexpr int kGlyphOnlyFontFlags = kFontRotated | kFontRotatedOtherWay | kFontRenderAsciiOnly | kFontSoften |
                                    kFontInverted | kFontMonochrome | kFontShadow | kFontOutline;
// Above this the glyph path's render bitmap would be needlessly large.
constexpr int kMaxGlyphPathLineHeight = 255;
}  // namespace

bool PX_ChooseDirectPath(const PX_DirectPathInputs& in) {
  if (!in.systemDrawing || !in.hasFont) return false;
  if (in.lineHeight > kMaxGlyphPathLineHeight) return true;
  return (in.fontFlags & kFontDirectAllowed) && !(in.drawFlags & kTextNeverDirect) && !in.wine &&
         !(in.drawFlags & kTextUseColourAlpha) && !(in.fontFlags & kGlyphOnlyFontFlags) &&
         (in.extraLineSpacing == 0 || (in.drawFlags & kTextSingleLine));
}
