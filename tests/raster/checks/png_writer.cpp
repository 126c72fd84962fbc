#include "tests/raster/checks/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace {

void AppendBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const PngImage& image) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, &AppendBytes, &NoFlush);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < image.palette.size(); i += 3) {
    palette.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
  }
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!image.paletteAlpha.empty()) {
    png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
  }
  png_color_16 transparentGrey{};
  if (image.greyTransparent) png_set_tRNS(png, info, nullptr, 0, &transparentGrey);
  png_write_info(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  std::vector<png_bytep> rows;
  for (int y = 0; y < image.height; ++y) rows.push_back(const_cast<png_bytep>(image.samples.data() + y * rowBytes));
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

void PatchChunkValue(std::vector<uint8_t>& png, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) png[offset + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
  // Find the chunk around offset: walk chunks from the signature.
  size_t chunk = 8;
  while (chunk + 12 <= png.size()) {
    const uint32_t length =
        uint32_t(png[chunk]) << 24 | uint32_t(png[chunk + 1]) << 16 | uint32_t(png[chunk + 2]) << 8 | png[chunk + 3];
    const size_t end = chunk + 8 + length;
    if (offset >= chunk + 8 && offset < end && end + 4 <= png.size()) {
      const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + chunk + 4, static_cast<uInt>(length + 4)));
      for (int i = 0; i < 4; ++i) png[end + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
      return;
    }
    chunk = end + 4;
  }
}
