// The system glyph rasterizer behind PX_CachedFont: GDI on Windows, FreeType
// on Linux. Glyphs are drawn one character at a time, white on the black
// render bitmap, so that its red channel is the glyph's 8-bit coverage.
// Window thread only (the render bitmap is shared by all fonts).
#pragma once

#include <cstdint>

#include "raster/px_font_handle.h"
#include "raster/px_rect.h"
#include "raster/px_sys_bitmap.h"

namespace px_glyphs {

// Sets the render bitmap up for glyphs: white text on an opaque black
// background.
void PrepareRenderBitmap(PX_SysBitmap& render);

// The font's cell height in pixels (its text metrics), 0 when unknown.
int CellHeight(PX_FontHandle font, PX_SysBitmap& render);

// The box of code drawn alone on one line: advance width and height.
void MeasureChar(PX_FontHandle font, PX_SysBitmap& render, int code, int* width, int* height);

// Draws code at (x, 0) of the render bitmap, white, unclipped by its box
// (but never outside the bitmap).
void DrawChar(PX_FontHandle font, PX_SysBitmap& render, int code, int x);

// True where the system can draw whole texts into a device context (GDI).
bool HasSystemTextDrawing();
// True when running under Wine (the key "Software\Wine" exists under the
// local machine root); looked up once per process.
bool IsWine();

struct DirectText {
  const char* text = nullptr;  // UTF-8
  int length = 0;
  uint32_t flags = 0;  // DrawText flags; measure only with 0x400
  uint32_t textColour = 0;
  uint32_t backColour = 0;
  int backMode = 1;
};

// Draws (or with measure only, measures into box) a whole text through the
// device context dc. Returns the text height, 0 on failure.
int DrawTextDirect(PX_FontHandle font, void* dc, const DirectText& text, PX_Rect* box);

}  // namespace px_glyphs
