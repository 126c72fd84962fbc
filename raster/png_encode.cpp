#include "raster/png_encode.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "raster/platform/file_open.h"

namespace {

void AppendBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// One row of the bitmap as R, G, B, A bytes.
void RowToRgba(PX_IBitmap& bitmap, int y, std::vector<uint8_t>& row) {
  const int stored = bitmap.IsFlipped() ? bitmap.Height() - 1 - y : y;
  const uint32_t* pixels = bitmap.Pixels() + static_cast<size_t>(stored) * static_cast<size_t>(bitmap.RowSpan());
  for (int x = 0; x < bitmap.Width(); ++x) {
    const uint32_t p = pixels[x];
    row[4 * x] = static_cast<uint8_t>(p >> 16);
    row[4 * x + 1] = static_cast<uint8_t>(p >> 8);
    row[4 * x + 2] = static_cast<uint8_t>(p);
    row[4 * x + 3] = static_cast<uint8_t>(p >> 24);
  }
}

// Encodes into out; the row buffer lives outside the setjmp frame.
bool Encode(PX_IBitmap& bitmap, std::vector<uint8_t>& out, std::vector<uint8_t>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, &AppendBytes, &NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < bitmap.Height(); ++y) {
    RowToRgba(bitmap, y, row);
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<uint8_t> PX_EncodePng(PX_IBitmap& bitmap) {
  std::vector<uint8_t> out;
  if (!bitmap.Pixels() || bitmap.Width() < 1 || bitmap.Height() < 1) return out;
  std::vector<uint8_t> row(static_cast<size_t>(bitmap.Width()) * 4);
  if (!Encode(bitmap, out, row)) out.clear();
  return out;
}

bool PX_WritePngFile(PX_IBitmap& bitmap, const char* path) {
  const std::vector<uint8_t> encoded = PX_EncodePng(bitmap);
  if (encoded.empty() || !path) return false;
  std::FILE* file = px_file::OpenForWriting(path);
  if (!file) return false;
  const bool written = std::fwrite(encoded.data(), 1, encoded.size(), file) == encoded.size();
  return std::fclose(file) == 0 && written;
}
