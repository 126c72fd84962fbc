// The HSV adjust rule. Hue runs on a circle of 384 steps (six sectors of 64);
// saturation and value are 0..255. The source's red channel turns the hue
// (128 = no turn, range about -192..+190 steps at full weight), green scales
// saturation and blue scales value (128 = unchanged, +-128 at full weight).
#include <array>

#include "raster/px_blend_rules.h"

namespace px_blend {
namespace {

constexpr int kHueSteps = 384;
constexpr int kSectorSteps = 64;

// T[0] = 0, T[x] = floor(65536 / x) - 1: a reciprocal in 16-bit fixed point.
constexpr std::array<int, 256> MakeReciprocals() {
  std::array<int, 256> table{};
  for (int x = 1; x < 256; ++x) table[x] = 65536 / x - 1;
  return table;
}
constexpr std::array<int, 256> kReciprocal = MakeReciprocals();

int HueOf(int r, int g, int b, int delta) {
  int base;
  int difference;
  if (r < g && b < g) {
    base = 2 * kSectorSteps;
    difference = b - r;
  } else if ((b >= g && g > r) || (b >= r && r >= g)) {
    base = 4 * kSectorSteps;
    difference = r - g;
  } else if (g >= b) {
    base = 0;
    difference = g - b;
  } else {
    base = kHueSteps - 1;
    difference = g - b;
  }
  return base + difference * (kReciprocal[delta] + 1) / 1024;
}

}  // namespace

uint32_t HsvAdjustPixel(int sr, int sg, int sb, uint32_t d, int ia, int alpha) {
  const int r = Byte(d, 2);
  const int g = Byte(d, 1);
  const int b = Byte(d, 0);
  const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const int delta = high - low;

  int hue = HueOf(r, g, b, delta) + ia * (sr / 2 + sr - 192) / 256;
  if (hue < 0) {
    hue += kHueSteps;
  } else if (hue >= kHueSteps) {
    hue -= kHueSteps;
  }
  const int s = Clamp255(delta * kReciprocal[high] / 256 + ia * (sg - 128) / 128);
  const int v = Clamp255(high + ia * (sb - 128) / 128);

  const int floor = (256 - s) * v / 256;
  auto rise = [&](int k) { return Clamp255(v * (16384 + s * k) / 16384); };
  auto fall = [&](int k) { return Clamp255(v * (16384 - s * k) / 16384); };
  int outR;
  int outG;
  int outB;
  switch (hue / kSectorSteps) {
    case 0:
      outR = v;
      outG = rise(hue - 64);
      outB = floor;
      break;
    case 1:
      outR = fall(hue - 64);
      outG = v;
      outB = floor;
      break;
    case 2:
      outR = floor;
      outG = v;
      outB = rise(hue - 192);
      break;
    case 3:
      outR = floor;
      outG = fall(hue - 192);
      outB = v;
      break;
    case 4:
      outR = rise(hue - 320);
      outG = floor;
      outB = v;
      break;
    default:
      outR = v;
      outG = floor;
      outB = fall(hue - 320);
      break;
  }
  return Pack(outB, outG, outR, alpha);
}

}  // namespace px_blend
