// Writes the PNG fuzz seed corpus into the folder given: one image of each
// colour type and depth the decoder handles, made by libpng's writer.
#include <cstdio>
#include <string>

#include "tests/raster/checks/png_writer.h"

namespace {

bool Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

PngImage Make(int width, int height, int colourType, int bitDepth, int samplesPerPixel) {
  PngImage image;
  image.width = width;
  image.height = height;
  image.colourType = colourType;
  image.bitDepth = bitDepth;
  const size_t rowBytes = (static_cast<size_t>(width) * samplesPerPixel * bitDepth + 7) / 8;
  for (size_t i = 0; i < rowBytes * height; ++i) image.samples.push_back(static_cast<uint8_t>(i * 37 + 11));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_png <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::vector<PngImage> images = {
      Make(5, 3, 6, 8, 4), Make(4, 4, 2, 8, 3),  Make(10, 2, 0, 1, 1), Make(7, 3, 0, 4, 1),
      Make(3, 3, 4, 8, 2), Make(2, 2, 6, 16, 4), Make(9, 9, 2, 8, 3),
  };
  images[6].interlaced = true;
  PngImage palette = Make(6, 2, 3, 2, 1);
  palette.palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  palette.paletteAlpha = {0, 128};
  images.push_back(palette);
  PngImage greyKey = Make(4, 2, 0, 8, 1);
  greyKey.greyTransparent = true;
  images.push_back(greyKey);
  int index = 0;
  for (const PngImage& image : images) {
    if (!Save(folder + "/seed" + std::to_string(index++) + ".png", EncodePng(image))) return 1;
  }
  return 0;
}
