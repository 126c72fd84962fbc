// The bitmaps all fonts share: the glyph render bitmap (white text on
// opaque black) and the scratch bitmap of the direct path. They live while at
// least one font does. Window thread only.
#pragma once

#include "raster/px_sys_bitmap.h"

namespace px_font_shared {

void AddFont();
// Releases the shared bitmaps with the last font.
void RemoveFont();
// The render bitmap, grown to at least side x side (and set up for glyphs
// when grown); null when it cannot be made.
PX_SysBitmap* RenderBitmap(int side);
PX_SysBitmap& ScratchBitmap();

}  // namespace px_font_shared
