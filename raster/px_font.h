// The font interface of the raster layer: draws and measures UTF-8 text
// into 32-bit bitmaps.
#pragma once

#include <cstdint>

#include "raster/px_bitmap.h"
#include "raster/px_font_handle.h"
#include "raster/px_rect.h"

// <windows.h> renames DrawText to DrawTextA or DrawTextW; the font's own
// DrawText must keep its name, so Windows code includes this header after it.
#ifdef DrawText
#undef DrawText
#endif

// DrawText flags: the Windows text-format values and two of our own.
enum PX_TextFlag : uint32_t {
  kTextCentre = 0x1,
  kTextRight = 0x2,
  kTextVerticalCentre = 0x4,
  kTextBottom = 0x8,
  kTextSingleLine = 0x20,
  kTextNoClip = 0x100,
  kTextMeasureOnly = 0x400,
  kTextUseColourAlpha = 0x40000000,
  kTextNeverDirect = 0x80000000,
};

// Back modes: opaque fills each glyph's box with the back colour.
constexpr int kBackModeTransparent = 1;
constexpr int kBackModeOpaque = 2;

class PX_IFont {
 public:
  virtual ~PX_IFont() = default;
  virtual void SetFromGdiFont(PX_FontHandle font, int flags) = 0;
  // Colours are 0xAARRGGBB; each setter returns the previous colour.
  virtual uint32_t SetTextColour(uint32_t colour) = 0;
  virtual uint32_t SetBackColour(uint32_t colour) = 0;
  virtual uint32_t SetEffectColour(uint32_t colour) = 0;
  // kBackModeOpaque, or any other value for transparent.
  virtual int SetBackMode(int mode) = 0;
  virtual void SetCombineMode(int mode, float alpha) = 0;
  // length -1: up to the zero byte. Returns the text height (the width for
  // rotated fonts), or 0 when nothing was drawn.
  virtual int DrawText(PX_IBitmap* bitmap, const char* text, int length, PX_Rect* box, uint32_t flags) = 0;
  virtual uint32_t TextColour() = 0;
  virtual PX_FontHandle GdiFont() = 0;
  virtual int LineHeight() = 0;
  virtual bool DrawGlyph(PX_IBitmap* bitmap, int code, int x, int y, const PX_Rect& clip) = 0;
};
