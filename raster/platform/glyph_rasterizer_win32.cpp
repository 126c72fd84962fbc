// GDI glyph rasterizer and direct text drawing. GDI draws into DIB sections
// in batches: GdiFlush before the pixels are read.
#include <windows.h>

#include <atomic>
#include <vector>

#include "raster/platform/glyph_rasterizer.h"

namespace px_glyphs {
namespace {

constexpr UINT kSingleCharFormat = DT_SINGLELINE | DT_NOPREFIX;
// DrawText flags of our own that GDI must not see.
constexpr UINT kOwnFlags = 0x40000000u | 0x80000000u;
constexpr int kStackTextLength = 1000;
constexpr int kBackModeOpaque = 2;

enum class WineState : int { kUnknown, kYes, kNo };

COLORREF ToColorRef(uint32_t colour) { return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF); }

// Selects a font into a DC for the lifetime of the object.
class SelectedFont {
 public:
  SelectedFont(HDC dc, PX_FontHandle font) : dc_(dc), previous_(SelectObject(dc, static_cast<HFONT>(font))) {}
  ~SelectedFont() { SelectObject(dc_, previous_); }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

bool HasMultiByte(const char* text, int length) {
  for (int i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
  }
  return false;
}

}  // namespace

void PrepareRenderBitmap(PX_SysBitmap& render) {
  HDC dc = static_cast<HDC>(render.DeviceContext());
  if (!dc) return;
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
}

int CellHeight(PX_FontHandle font, PX_SysBitmap& render) {
  HDC dc = static_cast<HDC>(render.DeviceContext());
  if (!dc || !font) return 0;
  SelectedFont selected(dc, font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc, &metrics)) return 0;
  return metrics.tmHeight;
}

void MeasureChar(PX_FontHandle font, PX_SysBitmap& render, int code, int* width, int* height) {
  *width = 0;
  *height = 0;
  HDC dc = static_cast<HDC>(render.DeviceContext());
  if (!dc || !font) return;
  SelectedFont selected(dc, font);
  const wchar_t character = static_cast<wchar_t>(code);
  RECT box{0, 0, 0, 0};
  DrawTextW(dc, &character, 1, &box, kSingleCharFormat | DT_CALCRECT);
  *width = box.right - box.left;
  *height = box.bottom - box.top;
}

void DrawChar(PX_FontHandle font, PX_SysBitmap& render, int code, int x) {
  HDC dc = static_cast<HDC>(render.DeviceContext());
  if (!dc || !font) return;
  {
    SelectedFont selected(dc, font);
    const wchar_t character = static_cast<wchar_t>(code);
    RECT box{x, 0, x, 0};
    DrawTextW(dc, &character, 1, &box, kSingleCharFormat | DT_NOCLIP);
  }
  GdiFlush();
}

bool HasSystemTextDrawing() { return true; }

bool IsWine() {
  static std::atomic<WineState> state{WineState::kUnknown};
  WineState known = state.load();
  if (known == WineState::kUnknown) {
    HKEY key = nullptr;
    known = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) == ERROR_SUCCESS ? WineState::kYes
                                                                                                    : WineState::kNo;
    if (key) RegCloseKey(key);
    state.store(known);
  }
  return known == WineState::kYes;
}

int DrawTextDirect(PX_FontHandle font, void* context, const DirectText& text, PX_Rect* box) {
  HDC dc = static_cast<HDC>(context);
  if (!dc || !font || !box) return 0;
  SelectedFont selected(dc, font);
  // The DC may be the shared render bitmap's: its drawing state is restored.
  const COLORREF oldText = SetTextColor(dc, ToColorRef(text.textColour));
  const int oldMode = SetBkMode(dc, text.backMode == kBackModeOpaque ? OPAQUE : TRANSPARENT);
  const COLORREF oldBack = SetBkColor(dc, ToColorRef(text.backColour));
  RECT rect{box->left, box->top, box->right, box->bottom};
  const UINT format = (text.flags & ~kOwnFlags) | DT_NOPREFIX;
  int height = 0;
  if (HasMultiByte(text.text, text.length)) {
    wchar_t onStack[kStackTextLength];
    std::vector<wchar_t> onHeap;
    wchar_t* wide = onStack;
    if (text.length >= kStackTextLength) {
      onHeap.resize(static_cast<size_t>(text.length));
      wide = onHeap.data();
    }
    const int converted = MultiByteToWideChar(CP_UTF8, 0, text.text, text.length, wide, text.length);
    if (converted > 0) height = DrawTextW(dc, wide, converted, &rect, format);
  } else {
    height = DrawTextA(dc, text.text, text.length, &rect, format);
  }
  SetTextColor(dc, oldText);
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  GdiFlush();
  if (text.flags & DT_CALCRECT) *box = {rect.left, rect.top, rect.right, rect.bottom};
  return height;
}

}  // namespace px_glyphs
