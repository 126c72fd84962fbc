// System fonts as the font layer takes them: a GDI HFONT on Windows, a
// FreeType face found through fontconfig on Linux. Created and deleted here
// so that callers need no platform header.
#pragma once

using PX_FontHandle = void*;

enum PX_FontQuality : int {
  kFontQualityDefault = 0,
  kFontQualityNonAntialiased = 1,
  kFontQualityAntialiased = 2,
  kFontQualityClearType = 3,
};

struct PX_FontRequest {
  int height = 0;      // > 0: cell height in pixels; < 0: character (em) height
  int escapement = 0;  // tenths of a degree (Windows only)
  int weight = 400;    // 400 normal, 700 bold
  bool italic = false;
  int quality = kFontQualityDefault;
  const char* face = "Arial";
};

// Null when no font can be made.
PX_FontHandle PX_CreateFontHandle(const PX_FontRequest& request);
void PX_DeleteFontHandle(PX_FontHandle font);
