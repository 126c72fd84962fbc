// Windows-only checks: GDI system bitmaps, the direct text path into a
// device context, the glyph path chosen under Wine, module resources.
#include <windows.h>

#include "raster/platform/glyph_rasterizer.h"
#include "raster/px_cached_font.h"
#include "raster/px_png.h"
#include "raster/px_sys_bitmap.h"
#include "tests/raster/checks/check.h"
#include "tests/raster/checks/pixel_fixture.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

int InkCount(PX_IBitmap& bitmap) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) count += (PixelAt(bitmap, x, y) & 0xFFFFFF) != 0xFFFFFF;
  }
  return count;
}

PX_FontHandle ArialHandle() {
  PX_FontRequest request;
  request.height = 16;
  request.face = "Arial";
  return PX_CreateFontHandle(request);
}

}  // namespace

RASTER_CHECK(Gdi, SystemBitmapIsDibSection) {
  PX_SysBitmap bitmap(10, 4);
  CHECK_TRUE(log, bitmap.DeviceContext() != nullptr);
  HDC dc = static_cast<HDC>(bitmap.DeviceContext());
  HGDIOBJ section = GetCurrentObject(dc, OBJ_BITMAP);
  DIBSECTION info{};
  CHECK_EQ(log, GetObjectW(section, sizeof(info), &info), static_cast<int>(sizeof(info)));
  CHECK_EQ(log, info.dsBm.bmWidth, 12);
  CHECK_EQ(log, info.dsBm.bmBitsPixel, static_cast<WORD>(32));
  CHECK_TRUE(log, info.dsBm.bmBits == bitmap.Pixels());
  // Top-down rows: GDI's pixel (1, 0) is the first row in memory.
  SetPixel(dc, 1, 0, RGB(0x12, 0x34, 0x56));
  GdiFlush();
  CHECK_EQ(log, PixelAt(bitmap, 1, 0) & 0xFFFFFF, 0x123456u);
}

RASTER_CHECK(Gdi, DirectTextIntoDeviceContext) {
  PX_SysBitmap bitmap(120, 30);
  FillAll(bitmap, kWhite);
  PX_FontHandle font = ArialHandle();
  px_glyphs::DirectText text;
  text.text = "Vorn";
  text.length = 4;
  text.textColour = 0xFF000000;
  PX_Rect measured{0, 0, 0, 0};
  text.flags = kTextMeasureOnly;
  CHECK_TRUE(log, px_glyphs::DrawTextDirect(font, bitmap.DeviceContext(), text, &measured) > 0);
  CHECK_TRUE(log, measured.right > 0);
  text.flags = 0;
  PX_Rect box{0, 0, 120, 30};
  px_glyphs::DrawTextDirect(font, bitmap.DeviceContext(), text, &box);
  CHECK_TRUE(log, InkCount(bitmap) > 0);
  PX_DeleteFontHandle(font);
}

RASTER_CHECK(Gdi, GlyphPathDrawsText) {
  // Under Wine the editor's fonts (flags 0x600) take the glyph path.
  PX_CachedFont font;
  font.SetFromGdiFont(ArialHandle(), kFontOwnsHandle | kFontDirectAllowed);
  CHECK_TRUE(log, font.LineHeight() >= 16);
  if (px_glyphs::IsWine()) CHECK_TRUE(log, !font.UsesDirectPath(0));
  font.SetTextColour(0xFF000000);
  PX_MemBitmap bitmap(120, 30);
  FillAll(bitmap, kWhite);
  PX_Rect box{0, 0, 120, 30};
  font.DrawText(&bitmap, "Vorn", -1, &box, kTextNeverDirect);
  CHECK_TRUE(log, InkCount(bitmap) > 0);
  CHECK_TRUE(log, font.RenderCount() == 4);
}

RASTER_CHECK(Gdi, DirectPathForTallFonts) {
  // Fonts taller than 255 pixels are drawn by GDI, also under Wine: into the
  // device context of a system bitmap, and for a memory bitmap through the
  // scratch bitmap, copied back only inside the box.
  PX_FontRequest request;
  request.height = 300;
  request.face = "Arial";
  PX_CachedFont font;
  font.SetFromGdiFont(PX_CreateFontHandle(request), kFontOwnsHandle | kFontDirectAllowed);
  CHECK_TRUE(log, font.UsesDirectPath(0));
  font.SetTextColour(0xFF000000);
  PX_Rect measured{0, 0, 0, 0};
  CHECK_TRUE(log, font.DrawText(nullptr, "I", -1, &measured, kTextMeasureOnly) >= 300);
  PX_SysBitmap system(400, 400);
  FillAll(system, kWhite);
  PX_Rect box{0, 0, 400, 400};
  font.DrawText(&system, "I", -1, &box, 0);
  CHECK_TRUE(log, InkCount(system) > 0);
  PX_MemBitmap memory(400, 400);
  FillAll(memory, kWhite);
  PX_Rect inner{0, 0, 400, 200};
  font.DrawText(&memory, "I", -1, &inner, kTextCentre);
  CHECK_TRUE(log, InkCount(memory) > 0);
  int outside = 0;
  for (int y = 200; y < 400; ++y) {
    for (int x = 0; x < 400; ++x) outside += PixelAt(memory, x, y) != kWhite;
  }
  CHECK_EQ(log, outside, 0);
}

RASTER_CHECK(Gdi, MissingResource) { CHECK_TRUE(log, LoadPngFromResource(GetModuleHandleW(nullptr), 4321) == nullptr); }
