// The editor's images as the library carries them: every id decodes to the
// size and frame count the layout counts on, and the knob strips turn their
// pointer evenly from the minimum to the maximum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "product/editor/editor_images.h"
#include "raster/px_png.h"

namespace {

struct ImageShape {
  int id;
  int width;
  int height;
  int frames;
};

constexpr ImageShape kShapes[] = {
    {101, 832, 376, 1},  {102, 832, 376, 1}, {103, 24, 16, 1}, {104, 48, 3024, 63},
    {105, 24, 1512, 63}, {106, 48, 40, 2},   {107, 66, 52, 2}, {108, 66, 52, 2},
};

std::unique_ptr<PX_IBitmap> Load(int id) {
  RegisterEditorImages();
  return std::unique_ptr<PX_IBitmap>(LoadPngFromResource(nullptr, id));
}

uint32_t Pixel(PX_IBitmap& bitmap, int x, int y) { return bitmap.Pixels()[y * bitmap.RowSpan() + x]; }

bool FramesEqual(PX_IBitmap& bitmap, int frameHeight, int a, int b) {
  for (int y = 0; y < frameHeight; ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (Pixel(bitmap, x, a * frameHeight + y) != Pixel(bitmap, x, b * frameHeight + y)) return false;
  return true;
}

// The pointer is the near-white line on the knob's cap: the angle of the
// centroid of its pixels, in degrees clockwise from straight up.
double PointerAngle(PX_IBitmap& bitmap, int size, int frame) {
  const double centre = size / 2.0;
  const double capRadius = size * 15.0 / 48.0;
  double sumX = 0, sumY = 0;
  int count = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
      if (std::hypot(dx, dy) > capRadius) continue;
      const uint32_t p = Pixel(bitmap, x, frame * size + y);
      const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      if (r > 150 && g > 150 && b > 150) {
        sumX += dx;
        sumY += dy;
        ++count;
      }
    }
  }
  if (count == 0) return NAN;
  return std::atan2(sumX, -sumY) * 180.0 / M_PI;
}

TEST(EditorImages, EveryImageHasTheSizeAndFramesTheLayoutUses) {
  for (const ImageShape& shape : kShapes) {
    SCOPED_TRACE(shape.id);
    std::unique_ptr<PX_IBitmap> bitmap = Load(shape.id);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), shape.width);
    EXPECT_EQ(bitmap->Height(), shape.height);
    ASSERT_EQ(shape.height % shape.frames, 0);
    // No two neighbouring frames alike: every step of the value shows.
    for (int f = 1; f < shape.frames; ++f)
      EXPECT_FALSE(FramesEqual(*bitmap, shape.height / shape.frames, f - 1, f)) << "frame " << f;
  }
}

TEST(EditorImages, BackgroundsAreOpaque) {
  for (int id : {101, 102}) {
    std::unique_ptr<PX_IBitmap> bitmap = Load(id);
    ASSERT_NE(bitmap, nullptr);
    for (int y = 0; y < bitmap->Height(); y += 7)
      for (int x = 0; x < bitmap->Width(); x += 5) ASSERT_EQ(Pixel(*bitmap, x, y) >> 24, 255u) << id;
  }
}

TEST(EditorImages, KnobPointersSweepEvenlyFromMinimumToMaximum) {
  for (const auto& [id, size] : {std::pair{104, 48}, std::pair{105, 24}}) {
    std::unique_ptr<PX_IBitmap> bitmap = Load(id);
    ASSERT_NE(bitmap, nullptr);
    for (int frame = 0; frame < 63; ++frame) {
      const double expected = -135.0 + 270.0 * frame / 62.0;
      EXPECT_NEAR(PointerAngle(*bitmap, size, frame), expected, size == 48 ? 3.0 : 6.0)
          << "image " << id << " frame " << frame + 1;
    }
  }
}

}  // namespace
