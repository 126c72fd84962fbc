// GDI surfaces: a memory DC compatible with the screen and 32-bit DIB
// sections selected into it.
#include <windows.h>

#include "raster/platform/sys_surface.h"

namespace px_surface {

void* CreateContext() { return CreateCompatibleDC(nullptr); }

void DeleteContext(void* context) { DeleteDC(static_cast<HDC>(context)); }

void* DeviceContextOf(void* context) { return context; }

void* CreateSection(void* context, int width, int height, bool bottomUp, uint32_t** bits, void** previous) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = bottomUp ? height : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* sectionBits = nullptr;
  HDC dc = static_cast<HDC>(context);
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
  if (!section || !sectionBits) {
    if (section) DeleteObject(section);
    return nullptr;
  }
  *previous = SelectObject(dc, section);
  *bits = static_cast<uint32_t*>(sectionBits);
  return section;
}

void DeleteSection(void* context, void* section, void* previous) {
  SelectObject(static_cast<HDC>(context), static_cast<HGDIOBJ>(previous));
  DeleteObject(static_cast<HGDIOBJ>(section));
}

}  // namespace px_surface
