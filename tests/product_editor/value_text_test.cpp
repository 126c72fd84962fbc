// The texts the product's controls print: value with or without its unit,
// and names cut to fit without splitting a UTF-8 character.
#include <gtest/gtest.h>

#include <string>

#include "product/vorn.h"
#include "product/editor/ipk_value_text.h"

namespace {

TEST(ValueText, UnitFollowsTheValueUnlessADisplayTextIsShown) {
  Vorn vorn(nullptr);
  const struct {
    int param;
    double value;
    const char* withLabel;
    const char* without;
  } cases[] = {
      {0, 50, "50%", "50"},   {5, 1, "Square", "Square"}, {3, 0.5, "0.50s", "0.50"},
      {8, -12, "-12", "-12"}, {19, 2, "S/H", "S/H"},      {20, 6.77, "6.77Hz", "6.77"},
  };
  for (const auto& c : cases) {
    vorn.GetParam(c.param)->SetValue(c.value);
    EXPECT_EQ(IPKValueText(vorn.GetParam(c.param), true), c.withLabel) << c.param;
    EXPECT_EQ(IPKValueText(vorn.GetParam(c.param), false), c.without) << c.param;
  }
  EXPECT_EQ(IPKValueText(nullptr, true), "");
}

TEST(ValueText, Utf8PrefixNeverSplitsACharacter) {
  const struct {
    std::string text;
    std::size_t limit;
    std::string expected;
  } cases[] = {
      {"Pad", 32, "Pad"},
      {"abcdef", 4, "abcd"},
      {"ab\xC3\xA9", 3, "ab"},       // two-byte character cut after its lead
      {"ab\xE2\x80\x94x", 4, "ab"},  // three-byte character cut in the middle
      {"ab\xE2\x80\x94x", 5, "ab\xE2\x80\x94"},
      {"ab\xC3", 32, "ab"},            // an earlier cut left half a character
      {"a\x80\x80z", 3, "a\x80\x80"},  // stray bytes count one each
      {"\xF0\x9F\x8E\xB9 keys", 3, ""},
      {"", 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(IPKUtf8Prefix(c.text, c.limit), c.expected) << c.text;
}

}  // namespace
