// PX_FillRegion: the word-wide copy shortcuts, the general rules with the
// weight standing in for the source alpha, and clipping (c = 0x80C86432,
// d = 0x10204080).
#include "raster/px_blit.h"
#include "tests/raster/checks/check.h"
#include "tests/raster/checks/pixel_fixture.h"

namespace {

constexpr uint32_t kColour = 0x80C86432;
constexpr uint32_t kDest = 0x10204080;

uint32_t FillOne(uint32_t dest, uint32_t colour, float alpha, int mode) {
  PX_MemBitmap bitmap(1, 1);
  PixelAt(bitmap, 0, 0) = dest;
  PX_FillRegion(&bitmap, 0, 0, 1, 1, colour, alpha, mode);
  return PixelAt(bitmap, 0, 0);
}

}  // namespace

RASTER_CHECK(Fill, CopyShortcuts) {
  CHECK_EQ(log, FillOne(kDest, kColour, 1.0f, kBlitCopy), kColour);
  CHECK_EQ(log, FillOne(kDest, kColour, 0.5f, kBlitCopy),
           ((kColour >> 1) & 0x7F7F7F7Fu) + ((kDest >> 1) & 0x7F7F7F7Fu));
  CHECK_EQ(log, FillOne(kDest, kColour, 0.25f, kBlitCopy), 0x2C4A496Cu);
  CHECK_EQ(log, FillOne(kDest, kColour, 0.75f, kBlitCopy), 0x649E5B45u);
  // ia = 77: d := (d - c) * 179 / 256 + c; A := 77 + (A - 77) * 179 / 256.
  CHECK_EQ(log, FillOne(kDest, kColour, 77.0f / 256, kBlitCopy), 0x23534B68u);
  // The use-alpha flag scales the weight by the colour's alpha: 1.0 * 128/255
  // gives ia = 128, the half shortcut.
  CHECK_EQ(log, FillOne(kDest, kColour, 1.0f, kBlitCopy | kBlitUseAlpha),
           ((kColour >> 1) & 0x7F7F7F7Fu) + ((kDest >> 1) & 0x7F7F7F7Fu));
  CHECK_EQ(log, FillOne(kDest, 0x00C86432, 1.0f, kBlitAdd | kBlitUseAlpha), kDest);
}

RASTER_CHECK(Fill, BlendModes) {
  CHECK_EQ(log, FillOne(kDest, kColour, 0.5f, kBlitAdd), 0x50847299u);
  CHECK_EQ(log, FillOne(kDest, kColour, 1.0f, kBlitMultiply), 0x10191919u);
  CHECK_EQ(log, FillOne(kDest, kColour, 0.5f, kBlitOverlay), 0x10273A6Cu);
  CHECK_EQ(log, FillOne(kDest, kColour, 1.0f, kBlitDodge), 0xFF92699Fu);
  // HSV: the fill's alpha byte is the weight, kept within a byte at 1.0.
  CHECK_EQ(log, FillOne(kDest, kColour, 1.0f, kBlitHsvAdjust), 0xFF000000u);
  CHECK_EQ(log, FillOne(kDest, kColour, 0.5f, kBlitHsvAdjust), 0x80221232u);
  CHECK_EQ(log, FillOne(kDest, kColour, 1.0f, kBlitChannelCopy), kDest);
  CHECK_EQ(log, FillOne(kDest, kColour, 0.0f, kBlitAdd), kDest);
}

RASTER_CHECK(Fill, Clipping) {
  PX_MemBitmap bitmap(5, 3);
  FillAll(bitmap, 0);
  PX_FillRegion(&bitmap, -2, -1, 4, 3, 0xFFFFFFFF, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(bitmap, 1, 1), 0xFFFFFFFFu);
  CHECK_EQ(log, PixelAt(bitmap, 2, 1), 0u);
  CHECK_EQ(log, PixelAt(bitmap, 0, 2), 0u);
  FillAll(bitmap, 0);
  PX_FillRegion(&bitmap, 3, 1, 2147483647, 2147483647, 0x01010101, 1.0f, kBlitAdd);
  CHECK_EQ(log, PixelAt(bitmap, 4, 2), 0xFF010101u);  // A := A + 256 * 256 / 256, clamped
  CHECK_EQ(log, PixelAt(bitmap, 2, 2), 0u);
  const int extremes[] = {-2147483647 - 1, -7, 0, 4, 5, 2147483647};
  for (int a : extremes) {
    for (int b : extremes) PX_FillRegion(&bitmap, a, b, b, a, 0xFFFFFFFF, 0.3f, kBlitOverlay);
  }
  PX_MemBitmap empty;
  PX_FillRegion(&empty, 0, 0, 10, 10, 0xFFFFFFFF, 1.0f, kBlitCopy);
  PX_FillRegion(nullptr, 0, 0, 10, 10, 0xFFFFFFFF, 1.0f, kBlitCopy);
  // Picture row 0 of a flipped bitmap is its last stored row.
  FlippedBitmap flipped(2, 2);
  FillAll(flipped, 0);
  PX_FillRegion(&flipped, 0, 0, 2, 1, 0xFFFFFFFF, 1.0f, kBlitCopy);
  CHECK_EQ(log, PixelAt(flipped, 0, 1), 0xFFFFFFFFu);
  CHECK_EQ(log, PixelAt(flipped, 0, 0), 0u);
}
