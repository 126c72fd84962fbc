// FreeType glyph rasterizer: renders each character's 8-bit coverage
// straight into the render bitmap's pixels as grey on black. There is no
// system text drawing on Linux: every text takes the glyph path.
#include <algorithm>

#include "raster/platform/freetype_font.h"
#include "raster/platform/glyph_rasterizer.h"

namespace px_glyphs {
namespace {

// Loads and renders code; null when the face cannot.
FT_GlyphSlot LoadGlyph(PX_FontHandle handle, int code) {
  auto* font = static_cast<px_freetype::Font*>(handle);
  if (!font || !font->face) return nullptr;
  const FT_Int32 target = font->antialiased ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
  if (FT_Load_Char(font->face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | target) != 0) return nullptr;
  return font->face->glyph;
}

int CoverageAt(const FT_Bitmap& bitmap, int x, int y) {
  const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
  if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
  return row[x];
}

}  // namespace

void PrepareRenderBitmap(PX_SysBitmap&) {
  // Glyphs are written as grey values; there is no drawing state to set.
}

int CellHeight(PX_FontHandle handle, PX_SysBitmap&) {
  auto* font = static_cast<px_freetype::Font*>(handle);
  return font ? font->cellHeight : 0;
}

void MeasureChar(PX_FontHandle handle, PX_SysBitmap&, int code, int* width, int* height) {
  *width = 0;
  *height = 0;
  FT_GlyphSlot glyph = LoadGlyph(handle, code);
  if (!glyph) return;
  *width = static_cast<int>((glyph->advance.x + 32) >> 6);
  *height = static_cast<px_freetype::Font*>(handle)->cellHeight;
}

void DrawChar(PX_FontHandle handle, PX_SysBitmap& render, int code, int x) {
  FT_GlyphSlot glyph = LoadGlyph(handle, code);
  uint32_t* pixels = render.Pixels();
  if (!glyph || !pixels) return;
  const FT_Bitmap& bitmap = glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
  const int left = x + glyph->bitmap_left;
  const int top = static_cast<px_freetype::Font*>(handle)->ascent - glyph->bitmap_top;
  const int rows = static_cast<int>(bitmap.rows);
  const int columns = static_cast<int>(bitmap.width);
  for (int y = std::max(0, -top); y < rows && top + y < render.Height(); ++y) {
    uint32_t* out = pixels + static_cast<ptrdiff_t>(top + y) * render.RowSpan();
    for (int column = std::max(0, -left); column < columns && left + column < render.Width(); ++column) {
      const uint32_t c = static_cast<uint32_t>(CoverageAt(bitmap, column, y));
      const uint32_t present = (out[left + column] >> 16) & 0xFF;
      if (c > present) out[left + column] = 0xFF000000u | c << 16 | c << 8 | c;
    }
  }
}

bool HasSystemTextDrawing() { return false; }

bool IsWine() { return false; }

int DrawTextDirect(PX_FontHandle, void*, const DirectText&, PX_Rect*) {
  // Unreachable: without system text drawing the glyph path is always chosen.
  return 0;
}

}  // namespace px_glyphs
