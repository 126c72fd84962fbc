// When a font lets the system draw a whole text in one call instead of
// compositing cached glyphs: only for plain opaque texts where the system's
// own drawing looks the same, and for fonts too tall for the glyph cache.
#pragma once

struct PX_DirectPathInputs {
  bool systemDrawing = false;  // the platform can draw texts (GDI)
  bool wine = false;           // Wine's text drawing differs; use glyphs there
  bool hasFont = false;
  int fontFlags = 0;
  unsigned drawFlags = 0;
  int lineHeight = 0;
  int extraLineSpacing = 0;
};

bool PX_ChooseDirectPath(const PX_DirectPathInputs& in);
