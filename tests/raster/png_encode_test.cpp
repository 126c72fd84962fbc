// The PNG writer: what it encodes, the decoder reads back pixel for pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "raster/png_encode.h"
#include "raster/px_mem_bitmap.h"
#include "raster/px_png.h"
#include "raster/px_sys_bitmap.h"

namespace {

void Paint(PX_IBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      bitmap.Pixels()[y * bitmap.RowSpan() + x] =
          static_cast<uint32_t>((x * 37 + y * 11) & 0xFF) << 24 | static_cast<uint32_t>(x * 5) << 16 |
          static_cast<uint32_t>(y * 9) << 8 | static_cast<uint32_t>((x ^ y) & 0xFF);
    }
  }
}

TEST(PngEncode, WhatIsWrittenDecodesToTheSamePixels) {
  PX_MemBitmap odd(7, 5);  // rows padded in memory
  PX_SysBitmap sys(13, 3);
  for (PX_IBitmap* bitmap : {static_cast<PX_IBitmap*>(&odd), static_cast<PX_IBitmap*>(&sys)}) {
    Paint(*bitmap);
    const std::vector<uint8_t> encoded = PX_EncodePng(*bitmap);
    ASSERT_FALSE(encoded.empty());
    std::unique_ptr<PX_IBitmap> decoded(LoadPngFromMemory(encoded.data(), encoded.size()));
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->Width(), bitmap->Width());
    ASSERT_EQ(decoded->Height(), bitmap->Height());
    for (int y = 0; y < bitmap->Height(); ++y) {
      for (int x = 0; x < bitmap->Width(); ++x) {
        EXPECT_EQ(decoded->Pixels()[y * decoded->RowSpan() + x], bitmap->Pixels()[y * bitmap->RowSpan() + x])
            << x << "," << y;
      }
    }
  }
}

TEST(PngEncode, FilesAndFailures) {
  PX_MemBitmap bitmap(4, 4);
  Paint(bitmap);
  const std::string path = testing::TempDir() + "png_encode_test.png";
  ASSERT_TRUE(PX_WritePngFile(bitmap, path.c_str()));
  std::unique_ptr<PX_IBitmap> read(LoadPngFromFile(path.c_str(), true, nullptr));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Pixels()[5], bitmap.Pixels()[5]);
  std::remove(path.c_str());

  PX_MemBitmap empty;
  EXPECT_TRUE(PX_EncodePng(empty).empty());
  EXPECT_FALSE(PX_WritePngFile(empty, path.c_str()));
  EXPECT_FALSE(PX_WritePngFile(bitmap, "/nonexistent-folder/x.png"));
  EXPECT_FALSE(PX_WritePngFile(bitmap, nullptr));
}

}  // namespace
