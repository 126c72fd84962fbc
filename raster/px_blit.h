// Rectangle copies and fills between 32-bit bitmaps, one to one, in the
// blend modes of px_blend_mode.h. Both stay inside both bitmaps for any
// position and size; a bitmap without pixels makes them do nothing.
// Called on the thread that owns the bitmaps (the editor's window thread).
#pragma once

#include <cstdint>

#include "raster/px_bitmap.h"
#include "raster/px_blend_mode.h"
#include "raster/px_rect.h"

// Copies srcRect of src (the whole of src when null) to (dstX, dstY) of dest,
// blended by mode with weight alpha (0..1; values outside are limited to it).
void PX_BlitRegion(PX_IBitmap* dest, PX_IBitmap* src, int dstX, int dstY, const PX_Rect* srcRect, float alpha,
                   int mode);

// Fills w x h pixels at (x, y) of dest with colour (0xAARRGGBB), blended by
// mode with weight alpha. With kBlitUseAlpha the colour's alpha scales alpha.
void PX_FillRegion(PX_IBitmap* dest, int x, int y, int w, int h, uint32_t colour, float alpha, int mode);
