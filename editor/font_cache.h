// The process-wide cache of fonts, one per (size, orientation, style, face),
// shared by every editor instance until the library is unloaded. Lookup and
// insertion take the cache's own lock; drawing with a font happens on the
// window thread.
#pragma once

#include "editor/itext_style.h"

class PX_IFont;

namespace font_cache {

// The font for the style (made and entered on a miss), or null when the
// system cannot make it.
PX_IFont* Find(const ITextStyle& style);

}  // namespace font_cache
