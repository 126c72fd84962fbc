// The steps that turn a character drawn on the render bitmap into the 8-bit
// coverage image kept in a font's glyph cache: softening, extraction with
// blank-margin trimming, the 90 degree turn and the monochrome effects.
#pragma once

#include <cstdint>
#include <vector>

namespace px_glyph_image {

// Coverage value of the pixels an effect adds (outline, shadow).
constexpr uint8_t kEffectCoverage = 128;
constexpr uint8_t kFullCoverage = 255;
// Monochrome keeps coverage above this as full, the rest as empty.
constexpr uint8_t kMonochromeThreshold = 130;

// Room on each side of a character for ink that reaches past its advance.
inline int Margin(int lineHeight) { return lineHeight < 16 ? 2 : lineHeight / 16 + 2; }

// Blurs width x height pixels (rows rowSpan apart) in place: each channel
// becomes 1/2 itself + 1/8 of each of its four neighbours, a missing
// neighbour's share going to the one opposite. Areas narrower or lower than
// 2 pixels are left as they are.
void Soften(uint32_t* pixels, int rowSpan, int width, int height);

struct Coverage {
  std::vector<uint8_t> pixels;  // width x height, row by row
  int width = 0;
  int height = 0;
  int firstColumn = 0;  // column of the render area where the image starts
};

// Takes the red channel of areaWidth x height pixels as coverage (255 - it
// with invert). Keeps the columns from min(first covered, margin) to
// max(last covered + 1, margin + advance), so ink is never cut and blank
// margins are dropped.
Coverage Extract(const uint32_t* pixels, int rowSpan, int areaWidth, int height, int margin, int advance, bool invert);

// Turns the image by 90 degrees, clockwise or counter-clockwise; width and
// height swap.
void Turn(Coverage& image, bool counterClockwise);

// Coverage above the threshold becomes full, the rest empty.
void MakeMonochrome(Coverage& image);
// Monochrome, plus kEffectCoverage in each empty pixel whose left,
// upper-left or upper neighbour is full.
void AddShadow(Coverage& image);
// Monochrome, plus kEffectCoverage in each empty pixel whose left, right,
// upper or lower neighbour is full.
void AddOutline(Coverage& image);

}  // namespace px_glyph_image
