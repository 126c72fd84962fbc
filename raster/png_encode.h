// PNG encoding of 32-bit bitmaps (0xAARRGGBB, straight alpha) as 8-bit RGBA
// images, for snapshots of the editor and golden-image tests.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/px_bitmap.h"

// The encoded image; empty on failure or for a bitmap without pixels.
std::vector<uint8_t> PX_EncodePng(PX_IBitmap& bitmap);

// Writes the encoded image to path (UTF-8); false on failure.
bool PX_WritePngFile(PX_IBitmap& bitmap, const char* path);
