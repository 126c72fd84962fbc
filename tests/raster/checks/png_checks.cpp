// PNG decoding: colour types and depths to 0xAARRGGBB, and refusal of short,
// corrupt, truncated and hostile data. Every image is encoded here.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "raster/px_image_loaders.h"
#include "raster/px_png.h"
#include "tests/raster/checks/check.h"
#include "tests/raster/checks/pixel_fixture.h"
#include "tests/raster/checks/png_writer.h"

namespace {

constexpr size_t kWidthOffset = 16;
constexpr size_t kHeightOffset = 20;

std::unique_ptr<PX_IBitmap> Decode(const std::vector<uint8_t>& bytes) {
  return std::unique_ptr<PX_IBitmap>(LoadPngFromMemory(bytes.data(), bytes.size()));
}

PngImage StraightRgba() {
  PngImage image;
  image.width = 2;
  image.height = 1;
  image.samples = {200, 100, 50, 128, 1, 2, 3, 0};
  return image;
}

std::string TempPath(const char* name) {
  const char* folder = std::getenv("TMPDIR");
  if (!folder) folder = std::getenv("TEMP");
  return std::string(folder ? folder : "/tmp") + "/" + name;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

RASTER_CHECK(Png, ColourTypes) {
  // Straight colour: (R 200, G 100, B 50, A 128) is 0x80C86432, not premultiplied.
  auto rgba = Decode(EncodePng(StraightRgba()));
  CHECK_TRUE(log, rgba != nullptr);
  if (rgba) {
    CHECK_EQ(log, rgba->Width(), 2);
    CHECK_EQ(log, PixelAt(*rgba, 0, 0), 0x80C86432u);
    CHECK_EQ(log, PixelAt(*rgba, 1, 0), 0x00010203u);
  }
  // 1-bit grey: opaque black and white.
  PngImage grey;
  grey.width = 10;
  grey.colourType = PNG_COLOR_TYPE_GRAY;
  grey.bitDepth = 1;
  grey.samples = {0xA0, 0x40};  // 1 0 1 0 0 0 0 0 | 0 1
  auto bits = Decode(EncodePng(grey));
  CHECK_TRUE(log, bits != nullptr);
  if (bits) {
    CHECK_EQ(log, PixelAt(*bits, 0, 0), 0xFFFFFFFFu);
    CHECK_EQ(log, PixelAt(*bits, 1, 0), 0xFF000000u);
    CHECK_EQ(log, PixelAt(*bits, 2, 0), 0xFFFFFFFFu);
    CHECK_EQ(log, PixelAt(*bits, 9, 0), 0xFFFFFFFFu);
  }
  // A palette with tRNS keeps each entry's transparency as the alpha byte.
  PngImage indexed;
  indexed.width = 3;
  indexed.colourType = PNG_COLOR_TYPE_PALETTE;
  indexed.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
  indexed.paletteAlpha = {0, 128};
  indexed.samples = {0, 1, 2};
  auto paletted = Decode(EncodePng(indexed));
  CHECK_TRUE(log, paletted != nullptr);
  if (paletted) {
    CHECK_EQ(log, PixelAt(*paletted, 0, 0), 0x000A141Eu);
    CHECK_EQ(log, PixelAt(*paletted, 1, 0), 0x8028323Cu);
    CHECK_EQ(log, PixelAt(*paletted, 2, 0), 0xFF46505Au);  // entries past tRNS are opaque
  }
  // 16-bit RGBA keeps the top byte of every sample.
  PngImage deep;
  deep.bitDepth = 16;
  deep.samples = {0x12, 0xAB, 0x34, 0xCD, 0x56, 0xEF, 0x78, 0x01};
  auto reduced = Decode(EncodePng(deep));
  CHECK_TRUE(log, reduced != nullptr);
  if (reduced) CHECK_EQ(log, PixelAt(*reduced, 0, 0), 0x78123456u);
  // RGB without alpha is opaque; grey with alpha and 4-bit grey expand.
  PngImage rgb;
  rgb.colourType = PNG_COLOR_TYPE_RGB;
  rgb.samples = {1, 2, 3};
  auto opaque = Decode(EncodePng(rgb));
  CHECK_TRUE(log, opaque != nullptr);
  if (opaque) CHECK_EQ(log, PixelAt(*opaque, 0, 0), 0xFF010203u);
  PngImage greyAlpha;
  greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  greyAlpha.samples = {0x40, 0x90};
  auto ga = Decode(EncodePng(greyAlpha));
  CHECK_TRUE(log, ga != nullptr);
  if (ga) CHECK_EQ(log, PixelAt(*ga, 0, 0), 0x90404040u);
  PngImage nibbles;
  nibbles.width = 2;
  nibbles.colourType = PNG_COLOR_TYPE_GRAY;
  nibbles.bitDepth = 4;
  nibbles.greyTransparent = true;
  nibbles.samples = {0x0F};  // grey 0 (transparent), grey 15
  auto expanded = Decode(EncodePng(nibbles));
  CHECK_TRUE(log, expanded != nullptr);
  if (expanded) {
    CHECK_EQ(log, PixelAt(*expanded, 0, 0), 0x00000000u);
    CHECK_EQ(log, PixelAt(*expanded, 1, 0), 0xFFFFFFFFu);
  }
}

RASTER_CHECK(Png, Interlaced) {
  PngImage image;
  image.width = 9;
  image.height = 9;
  image.colourType = PNG_COLOR_TYPE_RGB;
  image.interlaced = true;
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) image.samples.insert(image.samples.end(), {uint8_t(x), uint8_t(y), 7});
  }
  auto decoded = Decode(EncodePng(image));
  CHECK_TRUE(log, decoded != nullptr);
  if (decoded) {
    CHECK_EQ(log, PixelAt(*decoded, 0, 0), 0xFF000007u);
    CHECK_EQ(log, PixelAt(*decoded, 5, 8), 0xFF050807u);
    CHECK_EQ(log, PixelAt(*decoded, 8, 3), 0xFF080307u);
  }
}

RASTER_CHECK(Png, RefusedData) {
  const std::vector<uint8_t> good = EncodePng(StraightRgba());
  CHECK_TRUE(log, LoadPngFromMemory(good.data(), 7) == nullptr);
  CHECK_TRUE(log, LoadPngFromMemory(nullptr, 100) == nullptr);
  std::vector<uint8_t> badSignature = good;
  badSignature[0] = 0x88;
  CHECK_TRUE(log, Decode(badSignature) == nullptr);
  // Cut anywhere after the signature: the zero-filled tail is rejected.
  for (size_t cut = 8; cut + 12 < good.size(); ++cut) {
    std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
    auto decoded = Decode(truncated);
    CHECK_TRUE(log, decoded == nullptr);
  }
  std::vector<uint8_t> badCrc = good;
  badCrc[kWidthOffset + 3] ^= 0x01;
  CHECK_TRUE(log, Decode(badCrc) == nullptr);
  // Hostile sizes with valid checksums are refused before pixels are taken.
  std::vector<uint8_t> huge = good;
  PatchChunkValue(huge, kWidthOffset, 1000000);
  PatchChunkValue(huge, kHeightOffset, 1000000);
  CHECK_TRUE(log, Decode(huge) == nullptr);
  std::vector<uint8_t> wide = good;
  PatchChunkValue(wide, kWidthOffset, kMaxPngSide + 1);
  CHECK_TRUE(log, Decode(wide) == nullptr);
  std::vector<uint8_t> manyPixels = good;
  PatchChunkValue(manyPixels, kWidthOffset, kMaxPngSide);
  PatchChunkValue(manyPixels, kHeightOffset, kMaxPngSide);
  CHECK_TRUE(log, Decode(manyPixels) == nullptr);
  // Chunks out of order: the IHDR moved behind the first IDAT.
  std::vector<uint8_t> reordered(good.begin(), good.begin() + 8);
  const size_t ihdrEnd = 8 + 25;
  size_t idatEnd = ihdrEnd;
  const uint32_t idatLength = uint32_t(good[idatEnd]) << 24 | uint32_t(good[idatEnd + 1]) << 16 |
                              uint32_t(good[idatEnd + 2]) << 8 | good[idatEnd + 3];
  idatEnd += 12 + idatLength;
  reordered.insert(reordered.end(), good.begin() + ihdrEnd, good.begin() + static_cast<ptrdiff_t>(idatEnd));
  reordered.insert(reordered.end(), good.begin() + 8, good.begin() + ihdrEnd);
  reordered.insert(reordered.end(), good.begin() + static_cast<ptrdiff_t>(idatEnd), good.end());
  CHECK_TRUE(log, Decode(reordered) == nullptr);
}

RASTER_CHECK(Png, Files) {
  const std::string path = TempPath("vorn raster check \xC3\xA9.PNG");
  CHECK_TRUE(log, WriteFile(path, EncodePng(StraightRgba())));
  std::unique_ptr<PX_IBitmap> loaded(LoadPngFromFile(path.c_str(), true, nullptr));
  CHECK_TRUE(log, loaded != nullptr);
  if (loaded) CHECK_EQ(log, PixelAt(*loaded, 0, 0), 0x80C86432u);
  // A supplied bitmap is resized and filled.
  PX_MemBitmap supplied(40, 3);
  CHECK_TRUE(log, LoadPngFromFile(path.c_str(), false, &supplied) == &supplied);
  CHECK_EQ(log, supplied.Width(), 2);
  CHECK_EQ(log, PixelAt(supplied, 1, 0), 0x00010203u);
  std::remove(path.c_str());
  CHECK_TRUE(log, LoadPngFromFile(path.c_str(), false, nullptr) == nullptr);

  const std::string other = TempPath("vorn raster check.txt");
  CHECK_TRUE(log, WriteFile(other, EncodePng(StraightRgba())));
  CHECK_TRUE(log, LoadPngFromFile(other.c_str(), true, nullptr) == nullptr);
  std::unique_ptr<PX_IBitmap> unchecked(LoadPngFromFile(other.c_str(), false, nullptr));
  CHECK_TRUE(log, unchecked != nullptr);
  std::remove(other.c_str());
  CHECK_TRUE(log, LoadPngFromFile("folder.png/image", true, nullptr) == nullptr);
  CHECK_TRUE(log, LoadPngFromFile("image.png.bak", true, nullptr) == nullptr);
  CHECK_TRUE(log, LoadPngFromFile(nullptr, true, nullptr) == nullptr);

  const auto& loaders = PX_ImageFileLoaders();
  CHECK_EQ(log, loaders.size(), size_t{1});
  if (!loaders.empty()) {
    const char* types = loaders[0].fileTypes();
    CHECK_EQ(log, std::string(types), std::string("PNG files (*.PNG)"));
    CHECK_EQ(log, std::string(types + 18), std::string("*.PNG"));
    CHECK_EQ(log, types[18 + 6], '\0');
    CHECK_TRUE(log, loaders[0].load == &LoadPngFromFile);
  }
}
