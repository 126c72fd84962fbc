// The embedded image table that stands in for module resources on Linux.
#include <gtest/gtest.h>

#include <memory>

#include "raster/px_png.h"
#include "raster/px_png_resources.h"
#include "tests/raster/checks/png_writer.h"

TEST(PngResource, DecodesRegisteredImagesById) {
  PngImage image;
  image.samples = {200, 100, 50, 128};
  static const std::vector<uint8_t> encoded = EncodePng(image);
  PX_RegisterPngResource(101, encoded.data(), encoded.size());
  std::unique_ptr<PX_IBitmap> bitmap(LoadPngFromResource(nullptr, 101));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Pixels()[0], 0x80C86432u);
  EXPECT_EQ(LoadPngFromResource(nullptr, 102), nullptr);
  // Seven bytes or fewer never reach the decoder; a wrong first byte is refused.
  PX_RegisterPngResource(103, encoded.data(), 7);
  EXPECT_EQ(LoadPngFromResource(nullptr, 103), nullptr);
  static std::vector<uint8_t> wrong = encoded;
  wrong[0] = 0;
  PX_RegisterPngResource(104, wrong.data(), wrong.size());
  EXPECT_EQ(LoadPngFromResource(nullptr, 104), nullptr);
}
