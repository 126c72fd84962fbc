// A module that makes and drops a font as the plug-in does, for the test of
// what loading and unloading it leaves behind in the process.
#include "raster/px_font_handle.h"

extern "C" __attribute__((visibility("default"))) int MakeAndDropFont() {
  PX_FontRequest request;
  request.height = 16;
  request.face = "Arial";
  PX_FontHandle handle = PX_CreateFontHandle(request);
  if (!handle) return 0;
  PX_DeleteFontHandle(handle);
  return 1;
}
