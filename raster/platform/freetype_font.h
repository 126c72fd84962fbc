// What a font handle points at on Linux: a FreeType face sized like a GDI
// font of the same height (a positive height is the cell height, ascent plus
// descent; a negative one the em height).
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace px_freetype {

struct Font {
  FT_Face face = nullptr;
  int cellHeight = 0;
  int ascent = 0;  // pixels from the cell top to the baseline
  bool antialiased = true;
};

}  // namespace px_freetype
