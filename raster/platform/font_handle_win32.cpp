// Windows fonts are GDI fonts.
#include <windows.h>

#include "raster/px_font_handle.h"

namespace {

DWORD GdiQuality(int quality) {
  switch (quality) {
    case kFontQualityNonAntialiased: return NONANTIALIASED_QUALITY;
    case kFontQualityAntialiased: return ANTIALIASED_QUALITY;
    case kFontQualityClearType: return CLEARTYPE_QUALITY;
    default: return DEFAULT_QUALITY;
  }
}

}  // namespace

PX_FontHandle PX_CreateFontHandle(const PX_FontRequest& request) {
  return CreateFontA(request.height, 0, request.escapement, request.escapement, request.weight,
                     request.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, GdiQuality(request.quality), DEFAULT_PITCH,
                     request.face ? request.face : "Arial");
}

void PX_DeleteFontHandle(PX_FontHandle font) {
  if (font) DeleteObject(static_cast<HFONT>(font));
}
