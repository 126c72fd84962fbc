// PNG decoding into 32-bit bitmaps (0xAARRGGBB, straight alpha; images
// without alpha get 255). Every failure answers null and leaves nothing
// behind. Images wider or taller than kMaxPngSide, or with more than
// kMaxPngPixels pixels, are refused before any pixel memory is taken.
// Called on the thread that loads the editor's bitmaps; each call has its
// own decoder state, so calls may also run on several threads at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/px_bitmap.h"

// The largest editor image is a strip of up to a few hundred frames; these
// limits keep one decode below 64 MiB of pixels.
constexpr uint32_t kMaxPngSide = 16384;
constexpr uint64_t kMaxPngPixels = uint64_t{1} << 24;

// Decodes an encoded PNG held in memory. Returns a new PX_MemBitmap owned by
// the caller, or null.
PX_IBitmap* LoadPngFromMemory(const void* bytes, size_t length);

// Decodes the PNG file at path (UTF-8). With checkExtension the path must end
// in ".png" (any case). A supplied bitmap is resized and filled and returned;
// otherwise a new PX_MemBitmap owned by the caller. Null on failure (a
// supplied bitmap then holds unspecified pixels but stays usable).
PX_IBitmap* LoadPngFromFile(const char* path, bool checkExtension, PX_IBitmap* bitmap);

// Decodes the image stored under resourceId: on Windows the module's resource
// of type "PNG"; on Linux the bytes registered with PX_RegisterPngResource
// (module is ignored there). Returns a new bitmap owned by the caller, or null.
PX_IBitmap* LoadPngFromResource(void* module, int resourceId);
