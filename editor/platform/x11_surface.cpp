#include "editor/platform/x11_surface.h"

#include <X11/Xutil.h>

#include <cstring>
#include <vector>

#include "editor/font_cache.h"
#include "editor/itext_style.h"
#include "raster/px_blit.h"
#include "raster/px_font.h"

namespace {

const uint32_t* Row(PX_IBitmap& bitmap, int y) {
  const int row = bitmap.IsFlipped() ? bitmap.Height() - 1 - y : y;
  return bitmap.Pixels() + static_cast<size_t>(row) * static_cast<size_t>(bitmap.RowSpan());
}

bool IsLittleEndian() {
  const uint16_t probe = 1;
  uint8_t first = 0;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

// Where a mask's lowest bit is and how many bits it has.
void MaskShape(unsigned long mask, int& shift, int& bits) {
  shift = 0;
  bits = 0;
  if (!mask) return;
  while (!(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
}

unsigned long Channel(uint32_t value8, unsigned long mask) {
  int shift = 0;
  int bits = 0;
  MaskShape(mask, shift, bits);
  if (bits == 0) return 0;
  const unsigned long scaled = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (scaled << shift) & mask;
}

ITextStyle CanvasStyle(bool bold) {
  return ITextStyle("Arial", X11Canvas::kFontSize, {255, 0, 0, 0}, kAlignLeft, bold ? kTextBold : kTextNormal);
}

}  // namespace

void X11PutBitmap(Display* display, Window window, PX_IBitmap& bitmap, const IBox& box, int x, int y) {
  const IBox area = box.Intersect({0, 0, bitmap.Width(), bitmap.Height()});
  if (!window || area.IsEmpty() || !bitmap.Pixels() || area.Width() <= 0 || area.Height() <= 0) return;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return;
  Visual* visual = attributes.visual;
  const int depth = attributes.depth;
  GC gc = XCreateGC(display, window, 0, nullptr);
  const bool direct = !bitmap.IsFlipped() && (depth == 24 || depth == 32) && visual->red_mask == 0xFF0000 &&
                      visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
  if (direct) {
    // The image points into the bitmap; Xlib swaps bytes for a server of
    // the other byte order.
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(bitmap.Pixels()), static_cast<unsigned>(bitmap.Width()),
                                 static_cast<unsigned>(bitmap.Height()), 32, bitmap.RowSpan() * 4);
    const bool put = image && image->bits_per_pixel == 32;
    if (put) {
      image->byte_order = IsLittleEndian() ? LSBFirst : MSBFirst;
      XPutImage(display, window, gc, image, area.left, area.top, x + area.left - box.left, y + area.top - box.top,
                static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()));
    }
    if (image) {
      image->data = nullptr;
      XDestroyImage(image);
    }
    if (put) {
      XFreeGC(display, gc);
      return;
    }
  }
  XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()), 32, 0);
  if (image) {
    std::vector<char> storage(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(area.Height()));
    image->data = storage.data();
    for (int row = 0; row < area.Height(); ++row) {
      const uint32_t* source = Row(bitmap, area.top + row) + area.left;
      for (int column = 0; column < area.Width(); ++column) {
        const uint32_t p = source[column];
        XPutPixel(image, column, row,
                  Channel((p >> 16) & 0xFF, visual->red_mask) | Channel((p >> 8) & 0xFF, visual->green_mask) |
                      Channel(p & 0xFF, visual->blue_mask));
      }
    }
    XPutImage(display, window, gc, image, 0, 0, x + area.left - box.left, y + area.top - box.top,
              static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()));
    image->data = nullptr;
    XDestroyImage(image);
  }
  XFreeGC(display, gc);
}

void X11Canvas::Fill(const IBox& box, uint32_t colour) {
  PX_FillRegion(&mBitmap, box.left, box.top, box.Width(), box.Height(), colour, 1.0f, kBlitCopy);
}

void X11Canvas::Frame(const IBox& box, uint32_t colour) {
  Fill({box.left, box.top, box.right, box.top + 1}, colour);
  Fill({box.left, box.bottom - 1, box.right, box.bottom}, colour);
  Fill({box.left, box.top, box.left + 1, box.bottom}, colour);
  Fill({box.right - 1, box.top, box.right, box.bottom}, colour);
}

void X11Canvas::Text(const char* text, int x, int y, uint32_t colour, bool bold) {
  PX_IFont* font = font_cache::Find(CanvasStyle(bold));
  if (!font || !text || !*text) return;
  font->SetTextColour(colour);
  PX_Rect area{x, y, x + TextWidth(text, bold) + 1, y + LineHeight()};
  font->DrawText(&mBitmap, text, -1, &area, kTextNoClip | kTextSingleLine);
}

int X11Canvas::TextWidth(const char* text, bool bold) {
  PX_IFont* font = font_cache::Find(CanvasStyle(bold));
  if (!font || !text || !*text) return 0;
  PX_Rect extent{};
  font->DrawText(nullptr, text, -1, &extent, kTextNoClip | kTextSingleLine | kTextMeasureOnly);
  return extent.right - extent.left;
}

int X11Canvas::LineHeight() {
  PX_IFont* font = font_cache::Find(CanvasStyle(false));
  return font && font->LineHeight() > 0 ? font->LineHeight() : kFontSize + 3;
}
