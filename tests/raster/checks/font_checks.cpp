// PX_CachedFont on the platform's rasterizer (FreeType on Linux, GDI under
// Wine): the glyph cache, layout, UTF-8, weights, effects and clipping.
// Glyph shapes differ between rasterizers, so the checks compare drawings
// with each other rather than with stored pictures.
#include <algorithm>
#include <memory>

#include "raster/px_blend_mode.h"
#include "raster/px_cached_font.h"
#include "raster/px_direct_path.h"
#include "raster/px_utf8.h"
#include "tests/raster/checks/check.h"
#include "tests/raster/checks/pixel_fixture.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

std::unique_ptr<PX_CachedFont> MakeFont(int flags, int height = 16) {
  PX_FontRequest request;
  request.height = height;
  request.face = "Arial";
  auto font = std::make_unique<PX_CachedFont>();
  font->SetFromGdiFont(PX_CreateFontHandle(request), flags | kFontOwnsHandle);
  return font;
}

PX_Rect Measure(PX_CachedFont& font, const char* text, uint32_t flags = 0) {
  PX_Rect box{};
  font.DrawText(nullptr, text, -1, &box, flags | kTextMeasureOnly | kTextNeverDirect);
  return box;
}

struct Ink {
  int count = 0;
  PX_Rect bounds{1 << 30, 1 << 30, -1, -1};
};

Ink InkOf(PX_IBitmap& bitmap, uint32_t background) {
  Ink ink;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (PixelAt(bitmap, x, y) == background) continue;
      ++ink.count;
      ink.bounds = {std::min(ink.bounds.left, x), std::min(ink.bounds.top, y), std::max(ink.bounds.right, x + 1),
                    std::max(ink.bounds.bottom, y + 1)};
    }
  }
  return ink;
}

bool SamePixels(PX_IBitmap& a, PX_IBitmap& b) {
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
    }
  }
  return true;
}

// Draws text black on white into a fresh w x h bitmap.
std::unique_ptr<PX_MemBitmap> Draw(PX_CachedFont& font, const char* text, PX_Rect box, uint32_t flags, int w = 120,
                                   int h = 40) {
  auto bitmap = std::make_unique<PX_MemBitmap>(w, h);
  FillAll(*bitmap, kWhite);
  font.DrawText(bitmap.get(), text, -1, &box, flags | kTextNeverDirect);
  return bitmap;
}

}  // namespace

RASTER_CHECK(Font, GlyphCache) {
  auto font = MakeFont(0);
  CHECK_TRUE(log, font->LineHeight() > 0);
  const PX_Rect first = Measure(*font, "A");
  const PX_Rect second = Measure(*font, "A");
  CHECK_EQ(log, font->RenderCount(), 1);
  CHECK_TRUE(log, first.right > 0);
  CHECK_EQ(log, second.right, first.right);
  CHECK_EQ(log, first.bottom, font->LineHeight());
  // Codes above 127 go to the sorted list and are found again.
  Measure(*font, "\xC3\xA9\xC3\xA0\xC3\xA9");
  CHECK_EQ(log, font->RenderCount(), 3);
  // Flag 4 renders 0..127 at once and never renders codes above.
  auto ascii = MakeFont(kFontRenderAsciiOnly);
  CHECK_EQ(log, ascii->RenderCount(), 128);
  CHECK_EQ(log, Measure(*ascii, "\xC3\xA9").right, 0);
  CHECK_EQ(log, ascii->RenderCount(), 128);
}

RASTER_CHECK(Font, LineFeeds) {
  auto font = MakeFont(0);
  const int a = Measure(*font, "A").right;
  const int b = Measure(*font, "B").right;
  const int blank = Measure(*font, " ").right;
  const int line = font->LineHeight();
  const PX_Rect two = Measure(*font, "A\nB");
  CHECK_EQ(log, two.right, std::max(a, b));
  CHECK_EQ(log, two.bottom, 2 * line);
  const PX_Rect single = Measure(*font, "A\nB", kTextSingleLine);
  CHECK_EQ(log, single.right, a + blank + b);
  CHECK_EQ(log, single.bottom, line);
  CHECK_EQ(log, Measure(*font, "A\rB").right, a + b);
}

RASTER_CHECK(Font, Utf8) {
  int code = 0;
  CHECK_EQ(log, DecodeUtf8Char("\xC0\x80", 2, &code), 1);
  CHECK_EQ(log, code, 0xC0);
  CHECK_EQ(log, DecodeUtf8Char("\xC3\xA9", 2, &code), 2);
  CHECK_EQ(log, code, 0xE9);
  CHECK_EQ(log, DecodeUtf8Char("\xE2\x82\xAC", 3, &code), 3);
  CHECK_EQ(log, code, 0x20AC);
  CHECK_EQ(log, DecodeUtf8Char("\xF0\x9F\x98\x80", 4, &code), 4);
  CHECK_EQ(log, code, 32);
  CHECK_EQ(log, DecodeUtf8Char("\xE2\x82\xAC", 2, &code), 1);  // cut short by the length
  CHECK_EQ(log, code, 0xE2);
  CHECK_EQ(log, DecodeUtf8Char("\xF5\x80\x80\x80", 4, &code), 1);
  CHECK_EQ(log, code, 0xF5);

  auto font = MakeFont(0);
  CHECK_EQ(log, Measure(*font, "\xF0\x9F\x98\x80").right, Measure(*font, " ").right);
  // The stray byte 0xC0 draws as the code 0xC0, the same glyph as U+00C0.
  const int before = font->RenderCount();
  const int stray = Measure(*font, "\xC0").right;
  CHECK_EQ(log, Measure(*font, "\xC3\x80").right, stray);
  CHECK_EQ(log, font->RenderCount(), before + 1);
}

RASTER_CHECK(Font, Alignment) {
  auto font = MakeFont(0);
  const int width = Measure(*font, "Vorn").right;
  CHECK_TRUE(log, width > 0 && width < 90);
  // Right aligned in 10..100: the text starts at 100 - width.
  auto right = Draw(*font, "Vorn", {10, 0, 100, 40}, kTextRight);
  auto placed = Draw(*font, "Vorn", {100 - width, 0, 100, 40}, 0);
  CHECK_TRUE(log, SamePixels(*right, *placed));
  CHECK_TRUE(log, InkOf(*right, kWhite).count > 0);
  auto centred = Draw(*font, "Vorn", {10, 0, 100, 40}, kTextCentre | kTextVerticalCentre);
  const int line = font->LineHeight();
  auto centrePlaced = Draw(*font, "Vorn", {10 + (90 - width) / 2, (40 - line) / 2, 100, 40}, 0);
  CHECK_TRUE(log, SamePixels(*centred, *centrePlaced));
  auto bottom = Draw(*font, "Vorn", {0, 0, 120, 40}, kTextBottom);
  auto bottomPlaced = Draw(*font, "Vorn", {0, 40 - line, 120, 40}, 0);
  CHECK_TRUE(log, SamePixels(*bottom, *bottomPlaced));
}

RASTER_CHECK(Font, WeightFromColourAlpha) {
  auto font = MakeFont(0);
  font->SetTextColour(0x80000000);
  auto byAlpha = Draw(*font, "Vorn", {0, 0, 120, 40}, kTextUseColourAlpha);
  font->SetTextColour(kBlack);
  font->SetCombineMode(kBlitCopy, 0.5f);
  auto byWeight = Draw(*font, "Vorn", {0, 0, 120, 40}, 0);
  font->SetCombineMode(kBlitCopy, 1.0f);
  auto full = Draw(*font, "Vorn", {0, 0, 120, 40}, 0);
  CHECK_TRUE(log, SamePixels(*byAlpha, *byWeight));
  CHECK_TRUE(log, !SamePixels(*byAlpha, *full));
  // Alpha 0 with the flag draws nothing.
  font->SetTextColour(0x00000000);
  CHECK_EQ(log, InkOf(*Draw(*font, "Vorn", {0, 0, 120, 40}, kTextUseColourAlpha), kWhite).count, 0);
}

RASTER_CHECK(Font, MonochromeBlend) {
  // Monochrome glyphs blend every covered pixel by the mode's rule: add at
  // weight 0.5 of 0x404040 onto 0x101010 gives 0x303030 (alpha clamps).
  auto font = MakeFont(kFontMonochrome);
  font->SetTextColour(0xFF404040);
  font->SetCombineMode(kBlitAdd, 0.5f);
  PX_MemBitmap bitmap(120, 40);
  FillAll(bitmap, 0xFF101010);
  PX_Rect box{0, 0, 120, 40};
  font->DrawText(&bitmap, "Vorn", -1, &box, kTextNeverDirect);
  int other = 0;
  int covered = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const uint32_t p = PixelAt(bitmap, x, y);
      covered += p == 0xFF303030;
      other += p != 0xFF303030 && p != 0xFF101010;
    }
  }
  CHECK_TRUE(log, covered > 0);
  CHECK_EQ(log, other, 0);
}

RASTER_CHECK(Font, Effects) {
  const uint32_t kEffect = 0xFF0000FF;
  auto outline = MakeFont(kFontOutline);
  outline->SetTextColour(kBlack);
  outline->SetEffectColour(kEffect);
  auto shadow = MakeFont(kFontShadow);
  shadow->SetTextColour(kBlack);
  shadow->SetEffectColour(kEffect);
  auto drawnOutline = Draw(*outline, "H", {4, 4, 120, 40}, 0);
  auto drawnShadow = Draw(*shadow, "H", {4, 4, 120, 40}, 0);
  auto is = [](PX_IBitmap& b, int x, int y, uint32_t v) {
    return x >= 0 && y >= 0 && x < b.Width() && y < b.Height() && PixelAt(b, x, y) == v;
  };
  int outlinePixels = 0;
  int shadowPixels = 0;
  int strays = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const uint32_t o = PixelAt(*drawnOutline, x, y);
      if (o == kEffect) {
        ++outlinePixels;
        strays += !(is(*drawnOutline, x - 1, y, kBlack) || is(*drawnOutline, x + 1, y, kBlack) ||
                    is(*drawnOutline, x, y - 1, kBlack) || is(*drawnOutline, x, y + 1, kBlack));
      } else {
        strays += o != kBlack && o != kWhite;
      }
      const uint32_t s = PixelAt(*drawnShadow, x, y);
      if (s == kEffect) {
        ++shadowPixels;
        strays += !(is(*drawnShadow, x - 1, y, kBlack) || is(*drawnShadow, x - 1, y - 1, kBlack) ||
                    is(*drawnShadow, x, y - 1, kBlack));
      } else {
        strays += s != kBlack && s != kWhite;
      }
    }
  }
  CHECK_TRUE(log, outlinePixels > 0);
  CHECK_TRUE(log, shadowPixels > 0);
  CHECK_EQ(log, strays, 0);

  // Inverted coverage lights the glyph's whole box, even for a blank.
  auto inverted = MakeFont(kFontInverted);
  inverted->SetTextColour(kBlack);
  CHECK_TRUE(log, InkOf(*Draw(*inverted, " ", {4, 4, 120, 40}, 0), kWhite).count > 0);
  // A turned font stacks glyphs downwards: a hyphen becomes a vertical bar.
  auto turned = MakeFont(kFontRotated);
  const PX_Rect turnedBox = Measure(*turned, "AB");
  CHECK_EQ(log, turnedBox.right, turned->LineHeight());
  CHECK_EQ(log, turnedBox.bottom, Measure(*MakeFont(0), "AB").right);
  const Ink bar = InkOf(*Draw(*turned, "-", {20, 4, 120, 40}, 0), kWhite);
  const Ink dash = InkOf(*Draw(*MakeFont(0), "-", {20, 4, 120, 40}, 0), kWhite);
  CHECK_TRUE(log, bar.count > 0 && dash.count > 0);
  CHECK_TRUE(log, bar.bounds.bottom - bar.bounds.top > bar.bounds.right - bar.bounds.left);
  CHECK_TRUE(log, dash.bounds.bottom - dash.bounds.top < dash.bounds.right - dash.bounds.left);
  // Softening spreads ink into more pixels.
  auto soft = MakeFont(kFontSoften);
  CHECK_TRUE(log, InkOf(*Draw(*soft, "I", {4, 4, 120, 40}, 0), kWhite).count >
                      InkOf(*Draw(*MakeFont(0), "I", {4, 4, 120, 40}, 0), kWhite).count);
}

RASTER_CHECK(Font, TurnedPenStart) {
  // Turned fonts stack glyphs downwards and lines to the right; turned the
  // other way, the pen starts one line lower, and measuring counts that line.
  const PX_Rect clip{0, 0, 120, 60};
  for (int flags : {int{kFontRotated}, kFontRotated | kFontRotatedOtherWay}) {
    auto font = MakeFont(flags);
    font->SetTextColour(kBlack);
    const int line = font->LineHeight();
    const int start = (flags & kFontRotatedOtherWay) ? line : 0;
    const int a = Measure(*font, "A").bottom - start;
    const int b = Measure(*font, "B").bottom - start;
    CHECK_TRUE(log, a > 0 && b > 0);
    const PX_Rect box = Measure(*font, "AB\nC");
    CHECK_EQ(log, box.bottom, start + a + b);
    CHECK_EQ(log, box.right, 2 * line);
    auto byText = Draw(*font, "AB\nC", {20, 4, 120, 60}, kTextNoClip, 120, 60);
    PX_MemBitmap byGlyph(120, 60);
    FillAll(byGlyph, kWhite);
    font->DrawGlyph(&byGlyph, 'A', 20, 4 + start, clip);
    font->DrawGlyph(&byGlyph, 'B', 20, 4 + start + a, clip);
    font->DrawGlyph(&byGlyph, 'C', 20 + line, 4 + start, clip);
    CHECK_TRUE(log, InkOf(byGlyph, kWhite).count > 0);
    CHECK_TRUE(log, SamePixels(*byText, byGlyph));
  }
}

RASTER_CHECK(Font, BackModeAndClipping) {
  auto font = MakeFont(0);
  font->SetBackMode(kBackModeOpaque);
  font->SetBackColour(0xFFFF0000);
  auto opaque = Draw(*font, " ", {10, 10, 120, 40}, 0);
  CHECK_EQ(log, PixelAt(*opaque, 10 + Measure(*font, " ").right / 2, 12), 0xFFFF0000u);
  font->SetBackMode(kBackModeTransparent);
  // Drawing is clipped to the box, itself limited to the bitmap.
  auto clipped = Draw(*font, "WWWW", {5, 5, 15, 20}, 0);
  const Ink ink = InkOf(*clipped, kWhite);
  CHECK_TRUE(log, ink.count > 0);
  CHECK_TRUE(log, ink.bounds.left >= 5 && ink.bounds.right <= 15 && ink.bounds.top >= 5 && ink.bounds.bottom <= 20);
  auto unclipped = Draw(*font, "WWWW", {5, 5, 15, 20}, kTextNoClip);
  CHECK_TRUE(log, InkOf(*unclipped, kWhite).bounds.right > 15);
  // Extreme boxes and positions stay inside the bitmap.
  const int extremes[] = {-2147483647 - 1, -50, 0, 30, 2147483647};
  for (int a : extremes) {
    for (int b : extremes) {
      Draw(*font, "Wg\xC3\xA9\n\xE2\x82\xAC", {a, b, b, a}, kTextNoClip | kTextCentre | kTextBottom, 20, 10);
      Draw(*font, "Wg", {a, a, b, b}, kTextRight | kTextVerticalCentre, 20, 10);
    }
  }
  PX_Rect box{0, 0, 10, 10};
  CHECK_EQ(log, font->DrawText(nullptr, "W", -1, &box, 0), 0);
  PX_MemBitmap empty;
  CHECK_EQ(log, font->DrawText(&empty, "W", -1, &box, kTextNeverDirect), 0);
}

RASTER_CHECK(Font, DirectPathChoice) {
  PX_DirectPathInputs plain;
  plain.systemDrawing = true;
  plain.hasFont = true;
  plain.fontFlags = kFontOwnsHandle | kFontDirectAllowed;
  plain.lineHeight = 16;
  CHECK_TRUE(log, PX_ChooseDirectPath(plain));
  PX_DirectPathInputs in = plain;
  in.drawFlags = kTextUseColourAlpha;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
  in = plain;
  in.drawFlags = kTextNeverDirect;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
  in = plain;
  in.fontFlags |= kFontShadow;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
  in = plain;
  in.extraLineSpacing = 3;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
  in.drawFlags = kTextSingleLine;
  CHECK_TRUE(log, PX_ChooseDirectPath(in));
  // Under Wine the glyph path serves every font up to 255 pixels high.
  in = plain;
  in.wine = true;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
  in.lineHeight = 255;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
  in.lineHeight = 256;
  in.fontFlags = kFontShadow;
  CHECK_TRUE(log, PX_ChooseDirectPath(in));
  in.systemDrawing = false;
  CHECK_TRUE(log, !PX_ChooseDirectPath(in));
}
