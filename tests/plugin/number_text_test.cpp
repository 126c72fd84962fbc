// Numbers written and read by the plug-in keep '.' as the decimal separator
// whatever locale the host set, and the process locale is left alone.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "plugin/number_text.h"
#include "tests/host/comma_locale.h"

namespace {

struct FormatCase {
  double value;
  int decimals;
  std::size_t size;
  const char* text;
};

const FormatCase kFormatCases[] = {
    {0.648, 2, 16, "0.65"},
    {6.2506249, 2, 16, "6.25"},
    {-0.001, 2, 16, "-0.00"},
    {42.0, 0, 16, "42"},
    {0.125, 2, 16, "0.12"},
    {0.375, 2, 16, "0.38"},  // ties to even, as printf
    {1e20, 1, 32, "100000000000000000000.0"},
    {123.456, 3, 4, "123"},                // cut to the buffer
    {1.5, 40, 32, "1.50000000000000000"},  // at most 17 decimals
    {2.5, 1, 1, ""},
};

struct ParseCase {
  const char* text;
  bool ok;
  double value;
};

const ParseCase kParseCases[] = {
    {"0.5", true, 0.5},   {"+42.5", true, 42.5}, {"-7.25", true, -7.25}, {".5", true, 0.5},
    {"5.", true, 5.0},    {"1e3", true, 1000.0}, {"2.5E-1", true, 0.25}, {"0,5", false, 0.0},
    {"", false, 0.0},     {"+", false, 0.0},     {"+-1", false, 0.0},    {"inf", false, 0.0},
    {"-nan", false, 0.0}, {"0x10", false, 0.0},  {"1e999", false, 0.0},  {" 1", false, 0.0},
};

void CheckAll(const std::string& where) {
  for (const FormatCase& c : kFormatCases) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    FormatFixed(c.value, c.decimals, text, c.size);
    EXPECT_STREQ(text, c.text) << where << ": " << c.value << " with " << c.decimals << " decimals";
  }
  for (const ParseCase& c : kParseCases) {
    double value = -99.0;
    EXPECT_EQ(ParseDecimal(c.text, value), c.ok) << where << ": \"" << c.text << "\"";
    EXPECT_EQ(value, c.ok ? c.value : -99.0) << where << ": \"" << c.text << "\"";
  }
}

TEST(NumberText, DecimalPointWhateverTheLocale) {
  CheckAll("C locale");
  ScopedCommaLocale comma;
  ASSERT_TRUE(comma.Active()) << "no decimal-comma locale: LOCPATH must name the generated one";
  CheckAll(comma.Name());
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), comma.Name().c_str()) << "the process locale changed";
}

}  // namespace
