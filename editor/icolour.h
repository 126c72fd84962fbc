// A colour of the editor: alpha, red, green and blue, each 0..255.
#pragma once

#include <cstdint>

struct IColour {
  int a = 255;
  int r = 0;
  int g = 0;
  int b = 0;

  // The raster layer's pixel form 0xAARRGGBB (components limited to a byte).
  uint32_t ToPixel() const {
    auto byte = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
  }
  bool operator==(const IColour& o) const { return a == o.a && r == o.r && g == o.g && b == o.b; }
  bool operator!=(const IColour& o) const { return !(*this == o); }
};
