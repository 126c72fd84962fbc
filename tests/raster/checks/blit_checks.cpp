// PX_BlitRegion: clipping and the per-pixel rules, against values worked out
// by hand from the rules (s = 0x80C86432, d = 0x10204080 unless said).
#include <initializer_list>

#include "raster/px_blit.h"
#include "tests/raster/checks/check.h"
#include "tests/raster/checks/pixel_fixture.h"

namespace {

constexpr uint32_t kSource = 0x80C86432;
constexpr uint32_t kDest = 0x10204080;

// Blits one source pixel onto one destination pixel and returns the result.
uint32_t BlitOne(uint32_t source, uint32_t dest, float alpha, int mode) {
  PX_MemBitmap src(1, 1);
  PX_MemBitmap dst(1, 1);
  PixelAt(src, 0, 0) = source;
  PixelAt(dst, 0, 0) = dest;
  PX_BlitRegion(&dst, &src, 0, 0, nullptr, alpha, mode);
  return PixelAt(dst, 0, 0);
}

}  // namespace

RASTER_CHECK(Blit, CopyWeights) {
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitCopy), kSource);  // alpha byte copied too
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.5f, kBlitCopy), 0x48745259u);
  // ia = 64: d := s + (d - s) * 192 / 256, truncating toward zero.
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.25f, kBlitCopy), 0x2C4A496Cu);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f / 512, kBlitCopy), kDest);  // ia = 0
  CHECK_EQ(log, BlitOne(kSource, kDest, 7.0f, kBlitCopy), kSource);      // limited to 1
  CHECK_EQ(log, BlitOne(kSource, kDest, -1.0f, kBlitAdd), kDest);        // limited to 0
}

RASTER_CHECK(Blit, AlphaZeroChangesNothing) {
  for (int mode : std::initializer_list<int>{kBlitCopy, kBlitAdd, kBlitDodge, kBlitMultiply, kBlitOverlay,
                                             kBlitHsvAdjust, kBlitCopy | kBlitUseAlpha, kBlitAdd | kBlitUseAlpha}) {
    CHECK_EQ(log, BlitOne(kSource, kDest, 0.0f, mode), kDest);
  }
  // Operations 6..0xEF do nothing; bits above the low byte other than the
  // alpha flag are ignored.
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, 6), kDest);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, 0xEF), kDest);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, 0x100 | kBlitCopy), kSource);
}

RASTER_CHECK(Blit, BlendModes) {
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.75f, kBlitAdd), 0x70B68BA5u);
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.5f, kBlitDodge), 0x15344F8Du);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitMultiply), 0x08191919u);
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.5f, kBlitMultiply), 0x0C1C2C4Cu);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitOverlay), 0x102F3559u);
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.25f, kBlitOverlay), 0x10233D76u);
  // Dodge with t = 255 (s = 255 at full weight): every lit channel saturates,
  // zero stays zero.
  CHECK_EQ(log, BlitOne(0xFFFFFFFF, 0x00012000, 1.0f, kBlitDodge), 0x00FFFF00u);
}

RASTER_CHECK(Blit, UseAlphaRules) {
  // Copy with alpha at full weight: opaque source copies colour and sets A to
  // 255, transparent source leaves the pixel, partial mixes by 255 - sa.
  CHECK_EQ(log, BlitOne(0xFF123456, 0x00ABCDEF, 1.0f, kBlitCopy | kBlitUseAlpha), 0xFF123456u);
  CHECK_EQ(log, BlitOne(0x00123456, 0x40ABCDEF, 1.0f, kBlitCopy | kBlitUseAlpha), 0x40ABCDEFu);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitCopy | kBlitUseAlpha), 0x90755358u);
  // Weight 0.5: w = 128 * 129 / 256 = 64.
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.5f, kBlitCopy | kBlitUseAlpha), 0x504A496Cu);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitAdd | kBlitUseAlpha), 0x50847299u);
  CHECK_EQ(log, BlitOne(0x00FFFFFF, kDest, 1.0f, kBlitAdd | kBlitUseAlpha), kDest);
  CHECK_EQ(log, BlitOne(kSource, kDest, 0.75f, kBlitMultiply | kBlitUseAlpha), 0x0D1D3159u);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitDodge | kBlitUseAlpha), 0x15344F8Du);
  CHECK_EQ(log, BlitOne(kSource, kDest, 1.0f, kBlitOverlay | kBlitUseAlpha), 0x10273A6Cu);
}

RASTER_CHECK(Blit, HsvAdjust) {
  // A neutral source (128, 128, 128) keeps the colour; the alpha byte is
  // the source's.
  CHECK_EQ(log, BlitOne(0x80808080, 0xFFFF0000, 1.0f, kBlitHsvAdjust), 0x80FF0000u);
  CHECK_EQ(log, BlitOne(0xFF808080, 0xFF808080, 1.0f, kBlitHsvAdjust), 0xFF808080u);
  // Red 255 turns the hue by 190 of 384 steps: red becomes green-cyan.
  CHECK_EQ(log, BlitOne(0x80FF8080, 0xFFFF0000, 1.0f, kBlitHsvAdjust), 0x8000FFF7u);
  // Green 0 removes the saturation; blue 0 at half weight lowers the value.
  CHECK_EQ(log, BlitOne(0xFF800080, 0xFF336699, 1.0f, kBlitHsvAdjust), 0xFF999999u);
  CHECK_EQ(log, BlitOne(0xFF808000, 0xFF336699, 0.5f, kBlitHsvAdjust), 0xFF081019u);
  CHECK_EQ(log, BlitOne(0xFFC8A064, 0xFF20C040, 77.0f / 256, kBlitHsvAdjust), 0xFF11B07Eu);
}

RASTER_CHECK(Blit, ChannelCopy) {
  // 0xF0 | dest 3 << 2 | source 2: the source's red byte into the alpha byte.
  CHECK_EQ(log, BlitOne(0x11223344, 0xAABBCCDD, 1.0f, kBlitChannelCopy | (3 << 2) | 2), 0x22BBCCDDu);
  CHECK_EQ(log, BlitOne(0x11223344, 0xAABBCCDD, 0.01f, kBlitChannelCopy | (0 << 2) | 3), 0xAABBCC11u);
}

RASTER_CHECK(Blit, Clipping) {
  PX_MemBitmap src(4, 4);
  PX_MemBitmap dst(4, 4);
  FillNumbered(src);
  // A negative destination point copies the visible part, shifted in the source.
  FillAll(dst, 0);
  PX_BlitRegion(&dst, &src, -2, -1, nullptr, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(dst, 0, 0), PixelAt(src, 2, 1));
  CHECK_EQ(log, PixelAt(dst, 1, 2), PixelAt(src, 3, 3));
  CHECK_EQ(log, PixelAt(dst, 2, 0), 0u);
  CHECK_EQ(log, PixelAt(dst, 0, 3), 0u);
  // A source rectangle beyond the width is cut at the width.
  FillAll(dst, 0);
  PX_Rect wide{2, 0, 100, 1};
  PX_BlitRegion(&dst, &src, 0, 0, &wide, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(dst, 1, 0), PixelAt(src, 3, 0));
  CHECK_EQ(log, PixelAt(dst, 2, 0), 0u);
  CHECK_EQ(log, PixelAt(dst, 0, 1), 0u);
  // A negative rectangle corner moves the destination instead.
  FillAll(dst, 0);
  PX_Rect before{-1, -2, 2, 2};
  PX_BlitRegion(&dst, &src, 0, 0, &before, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(dst, 1, 2), PixelAt(src, 0, 0));
  CHECK_EQ(log, PixelAt(dst, 2, 3), PixelAt(src, 1, 1));
  CHECK_EQ(log, PixelAt(dst, 0, 2), 0u);
  // Extreme positions and rectangles stay inside both bitmaps.
  FillAll(dst, 0);
  const int extremes[] = {-2147483647 - 1, -100000, -4, 3, 4, 100000, 2147483647};
  for (int a : extremes) {
    for (int b : extremes) {
      PX_Rect rect{a, b, b, a};
      PX_BlitRegion(&dst, &src, a, b, &rect, 0.5f, kBlitAdd);
      PX_BlitRegion(&dst, &src, b, a, nullptr, 1.0f, kBlitCopy);
    }
  }
  PX_MemBitmap empty;
  PX_BlitRegion(&dst, &empty, 0, 0, nullptr, 1.0f, kBlitCopy);
  PX_BlitRegion(&empty, &src, 0, 0, nullptr, 1.0f, kBlitCopy);
  PX_BlitRegion(nullptr, &src, 0, 0, nullptr, 1.0f, kBlitCopy);
  // A blit hanging over the right edge keeps only its first column.
  FillAll(dst, 0);
  PX_BlitRegion(&dst, &src, 3, 0, nullptr, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(dst, 3, 3), PixelAt(src, 0, 3));
  CHECK_EQ(log, PixelAt(dst, 2, 3), 0u);
}

RASTER_CHECK(Blit, FlippedRows) {
  // Picture row 0 of a flipped bitmap is its last stored row.
  PX_MemBitmap src(2, 2);
  FlippedBitmap dst(2, 2);
  FillNumbered(src);
  FillAll(dst, 0);
  PX_Rect topRow{0, 0, 2, 1};
  PX_BlitRegion(&dst, &src, 0, 0, &topRow, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(dst, 1, 1), PixelAt(src, 1, 0));
  CHECK_EQ(log, PixelAt(dst, 1, 0), 0u);
}
