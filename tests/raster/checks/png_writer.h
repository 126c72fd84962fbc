// Encodes test images with libpng's writer, so the decoder checks run on
// images made here rather than on files from elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PngImage {
  int width = 1;
  int height = 1;
  int bitDepth = 8;
  int colourType = 6;  // PNG_COLOR_TYPE_RGB_ALPHA
  bool interlaced = false;
  std::vector<uint8_t> samples;       // packed rows as libpng takes them
  std::vector<uint8_t> palette;       // r, g, b per entry
  std::vector<uint8_t> paletteAlpha;  // tRNS for palette images
  bool greyTransparent = false;       // tRNS for grey images: the grey value 0
};

std::vector<uint8_t> EncodePng(const PngImage& image);

// Replaces the 4-byte big-endian value at offset and rewrites the CRC of the
// chunk holding it (so that only the value is wrong, not the checksum).
void PatchChunkValue(std::vector<uint8_t>& png, size_t offset, uint32_t value);
