#include "raster/png_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "raster/px_bitmap_rows.h"
#include "raster/px_mem_bitmap.h"
#include "raster/px_png.h"

namespace px_png {
namespace {

constexpr uint8_t kSignature[kSignatureLength] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr int kDecodedBytesPerPixel = 4;
constexpr png_uint_32 kFillerOpaque = 0xFF;

// libpng's default handlers print; this library reports nothing but null.
void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

// Serves the bytes still unread; a request past the end is filled with zero
// bytes, which libpng then rejects as a bad CRC or corrupt data.
void ReadFromMemory(png_structp png, png_bytep out, size_t requested) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  const size_t copied = requested < source->unread ? requested : source->unread;
  std::memcpy(out, source->cursor, copied);
  std::memset(out + copied, 0, requested - copied);
  source->cursor += copied;
  source->unread -= copied;
}

// Makes every decoded pixel the four bytes alpha, red, green, blue.
void RequestArgb(png_structp png, png_infop info, int colourType, int bitDepth) {
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colourType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (colourType & PNG_COLOR_MASK_ALPHA) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, kFillerOpaque, PNG_FILLER_BEFORE);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Rewrites the decoded bytes A, R, G, B of each pixel as the value
// 0xAARRGGBB, which is stored as B, G, R, A.
void ArgbBytesToPixels(png_bytep* rows, int width, int height) {
  for (int y = 0; y < height; ++y) {
    png_bytep p = rows[y];
    auto* pixel = reinterpret_cast<uint32_t*>(p);
    for (int x = 0; x < width; ++x, p += kDecodedBytesPerPixel) {
      pixel[x] = static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                 static_cast<uint32_t>(p[2]) << 8 | p[3];
    }
  }
}

bool AcceptableSize(png_uint_32 width, png_uint_32 height) {
  return width > 0 && height > 0 && width <= kMaxPngSide && height <= kMaxPngSide &&
         static_cast<uint64_t>(width) * height <= kMaxPngPixels;
}

// Deflate expands at most about 1032 to 1, so encoded bytes that cannot hold
// the image's rows are refused before its pixels are allocated (a few
// hundred bytes must not claim 64 MiB). Only a memory source knows its size.
constexpr uint64_t kMaxInflateRatio = 1100;

bool PlausibleForSource(png_structp png, png_infop info, const Source& source, png_uint_32 width, png_uint_32 height) {
  if (source.file) return true;
  const uint64_t bitsPerPixel = static_cast<uint64_t>(png_get_channels(png, info)) * png_get_bit_depth(png, info);
  const uint64_t rawBytes = static_cast<uint64_t>(height) * (1 + (width * bitsPerPixel + 7) / 8);
  return rawBytes <= (static_cast<uint64_t>(source.unread) + 1) * kMaxInflateRatio;
}

}  // namespace

bool HasSignature(const uint8_t* bytes, size_t length) {
  return bytes && length >= kSignatureLength && std::memcmp(bytes, kSignature, kSignatureLength) == 0;
}

PX_IBitmap* Decode(Source& source, PX_IBitmap* target) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &SilentError, &SilentWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  // Written after setjmp and read after a longjmp back here: volatile.
  PX_IBitmap* volatile made = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    std::free(rows);
    delete made;
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
  if (source.file) {
    png_init_io(png, source.file);
  } else {
    png_set_read_fn(png, &source, &ReadFromMemory);
  }
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  if (!AcceptableSize(width, height) || !PlausibleForSource(png, info, source, width, height)) {
    png_error(png, "image size refused");
  }
  RequestArgb(png, info, colourType, bitDepth);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * kDecodedBytesPerPixel) {
    png_error(png, "unexpected decoded layout");
  }

  PX_IBitmap* bitmap = target;
  if (bitmap) {
    bitmap->Resize(static_cast<int>(width), static_cast<int>(height));
  } else {
    made = new PX_MemBitmap(static_cast<int>(width), static_cast<int>(height));
    bitmap = made;
  }
  if (bitmap->Width() != static_cast<int>(width) || bitmap->Height() != static_cast<int>(height) || !bitmap->Pixels()) {
    png_error(png, "no memory for the image");
  }
  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!rows) png_error(png, "no memory for the row table");
  const PX_RowWalker walker = PX_WalkRows(*bitmap, 0);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(walker.Row(static_cast<int>(y)));
  png_read_image(png, rows);
  png_destroy_read_struct(&png, &info, nullptr);

  ArgbBytesToPixels(rows, static_cast<int>(width), static_cast<int>(height));
  std::free(rows);
  return bitmap;
}

}  // namespace px_png
