// Presenting raster bitmaps in X11 windows, and the small canvas our own
// windows (menus, entry field, dialogs) are drawn on with the raster layer.
// Callers hold the connection's Guard.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "editor/ibox.h"
#include "raster/px_mem_bitmap.h"

class PX_IFont;

// Copies box of bitmap to (x, y) of window. Straight from the pixels for
// 24- and 32-bit TrueColor visuals with the usual masks; converted pixel by
// pixel for any other TrueColor visual.
void X11PutBitmap(Display* display, Window window, PX_IBitmap& bitmap, const IBox& box, int x, int y);

// A bitmap with the few drawing operations our windows need.
class X11Canvas {
 public:
  // Text of our windows: a sans-serif face at a fixed pixel size.
  static constexpr int kFontSize = 13;

  void SetSize(int width, int height) { mBitmap.Resize(width, height); }
  int Width() { return mBitmap.Width(); }
  int Height() { return mBitmap.Height(); }
  void Fill(const IBox& box, uint32_t colour);
  // A one-pixel outline inside box.
  void Frame(const IBox& box, uint32_t colour);
  // Text with its top-left corner at (x, y); bold for headings.
  void Text(const char* text, int x, int y, uint32_t colour, bool bold = false);
  // Width and height of the text in the canvas font.
  static int TextWidth(const char* text, bool bold = false);
  static int LineHeight();
  PX_IBitmap* Bitmap() { return &mBitmap; }
  void Present(Display* display, Window window) {
    X11PutBitmap(display, window, mBitmap, {0, 0, Width(), Height()}, 0, 0);
  }

 private:
  PX_MemBitmap mBitmap;
};
