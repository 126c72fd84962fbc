// Reading a window's pixels back (BitBlt from its device context) and
// comparing them with a reference image composed on the headless surface:
// every pixel outside the text boxes must match exactly in red, green and
// blue; inside a text box, where GDI under Wine and FreeType draw different
// glyphs, the text must be there and in place: the count of pixels that
// differ from the box's background ("ink") must agree within a factor of
// kInkRatioLimit and the ink's horizontal centre within kInkCentreLimit pixels.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/ibox.h"
#include "raster/px_bitmap.h"

constexpr double kInkRatioLimit = 2.0;
constexpr double kInkCentreLimit = 4.0;

// The window's client area, or null.
std::unique_ptr<PX_IBitmap> CaptureWindow(HWND window);

struct CompareResult {
  bool ok = false;
  std::string detail;
};

CompareResult CompareWithReference(PX_IBitmap& captured, PX_IBitmap& reference, const std::vector<IBox>& textBoxes);
