// Linux font lookup: the editor asks for "Arial", which must come out as
// Arial itself or a face with the same metrics (Liberation Sans).
#include <gtest/gtest.h>

#include <string>

#include "raster/platform/freetype_font.h"
#include "raster/px_font_handle.h"

TEST(FontFace, ArialResolvesToAMetricCompatibleFace) {
  PX_FontRequest request;
  request.height = 16;
  request.face = "Arial";
  PX_FontHandle handle = PX_CreateFontHandle(request);
  ASSERT_NE(handle, nullptr);
  auto* font = static_cast<px_freetype::Font*>(handle);
  const std::string family = font->face->family_name;
  EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family;
  EXPECT_EQ(font->cellHeight, 16);
  // Arial's ascent is 1854 of 2288 cell units.
  EXPECT_EQ(font->ascent, 13);
  PX_DeleteFontHandle(handle);

  request.weight = 700;
  handle = PX_CreateFontHandle(request);
  ASSERT_NE(handle, nullptr);
  EXPECT_STREQ(static_cast<px_freetype::Font*>(handle)->face->style_name, "Bold");
  PX_DeleteFontHandle(handle);
}
