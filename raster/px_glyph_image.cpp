#include "raster/px_glyph_image.h"

#include <algorithm>

namespace px_glyph_image {
namespace {

constexpr uint32_t kHalfMask = 0x7F7F7F7F;
constexpr uint32_t kQuarterMask = 0x3F3F3F3F;
constexpr uint32_t kEighthMask = 0x1F1F1F1F;

uint32_t Half(uint32_t p) { return (p >> 1) & kHalfMask; }
uint32_t Quarter(uint32_t p) { return (p >> 2) & kQuarterMask; }
uint32_t Eighth(uint32_t p) { return (p >> 3) & kEighthMask; }

// One axis' share: 1/8 from each neighbour, or 1/4 from the only one.
uint32_t NeighbourShare(const uint32_t* before, const uint32_t* after) {
  if (!before) return Quarter(*after);
  if (!after) return Quarter(*before);
  return Eighth(*before) + Eighth(*after);
}

uint8_t At(const Coverage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0;
  return image.pixels[static_cast<size_t>(y) * image.width + x];
}

template <class NeighbourTest>
void AddEffect(Coverage& image, NeighbourTest isNextToInk) {
  MakeMonochrome(image);
  const Coverage solid = image;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      uint8_t& c = image.pixels[static_cast<size_t>(y) * image.width + x];
      if (c == 0 && isNextToInk(solid, x, y)) c = kEffectCoverage;
    }
  }
}

}  // namespace

void Soften(uint32_t* pixels, int rowSpan, int width, int height) {
  if (width < 2 || height < 2) return;
  std::vector<uint32_t> original(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    std::copy_n(pixels + static_cast<size_t>(y) * rowSpan, width, original.begin() + static_cast<size_t>(y) * width);
  }
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = original.data() + static_cast<size_t>(y) * width;
    const uint32_t* above = y > 0 ? row - width : nullptr;
    const uint32_t* below = y + 1 < height ? row + width : nullptr;
    uint32_t* out = pixels + static_cast<size_t>(y) * rowSpan;
    for (int x = 0; x < width; ++x) {
      const uint32_t* left = x > 0 ? row + x - 1 : nullptr;
      const uint32_t* right = x + 1 < width ? row + x + 1 : nullptr;
      out[x] = Half(row[x]) + NeighbourShare(left, right) +
               NeighbourShare(above ? above + x : nullptr, below ? below + x : nullptr);
    }
  }
}

Coverage Extract(const uint32_t* pixels, int rowSpan, int areaWidth, int height, int margin, int advance, bool invert) {
  int first = areaWidth;
  int last = -1;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * rowSpan;
    for (int x = 0; x < areaWidth; ++x) {
      if ((row[x] >> 16) & 0xFF) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  Coverage image;
  image.firstColumn = std::min(first, margin);
  const int end = std::max(last + 1, margin + advance);
  image.width = std::max(0, end - image.firstColumn);
  image.height = height;
  image.pixels.assign(static_cast<size_t>(image.width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * rowSpan;
    uint8_t* out = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      const int column = image.firstColumn + x;
      const uint8_t red = column < areaWidth ? static_cast<uint8_t>((row[column] >> 16) & 0xFF) : 0;
      out[x] = invert ? static_cast<uint8_t>(kFullCoverage - red) : red;
    }
  }
  return image;
}

void Turn(Coverage& image, bool counterClockwise) {
  std::vector<uint8_t> turned(image.pixels.size());
  const int width = image.width;
  const int height = image.height;
  // The turned image is height wide and width high.
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int toX = counterClockwise ? y : height - 1 - y;
      const int toY = counterClockwise ? width - 1 - x : x;
      turned[static_cast<size_t>(toY) * height + toX] = image.pixels[static_cast<size_t>(y) * width + x];
    }
  }
  image.pixels.swap(turned);
  image.width = height;
  image.height = width;
}

void MakeMonochrome(Coverage& image) {
  for (uint8_t& c : image.pixels) c = c > kMonochromeThreshold ? kFullCoverage : 0;
}

void AddShadow(Coverage& image) {
  AddEffect(image, [](const Coverage& solid, int x, int y) {
    return At(solid, x - 1, y) == kFullCoverage || At(solid, x - 1, y - 1) == kFullCoverage ||
           At(solid, x, y - 1) == kFullCoverage;
  });
}

void AddOutline(Coverage& image) {
  AddEffect(image, [](const Coverage& solid, int x, int y) {
    return At(solid, x - 1, y) == kFullCoverage || At(solid, x + 1, y) == kFullCoverage ||
           At(solid, x, y - 1) == kFullCoverage || At(solid, x, y + 1) == kFullCoverage;
  });
}

}  // namespace px_glyph_image
