#include <gtest/gtest.h>

#include <string>

#include "product/vorn.h"

namespace {

struct Row {
  const char* name;
  IParam::Kind kind;
  double min, max, defaultValue, step, shape;
  const char* label;
};

// The parameter table as users and stored files know it.
const Row kTable[32] = {
    {"Volume", IParam::kDouble, 0, 100, 50, 1, 1, "%"},
    {"Monophon", IParam::kEnum, 0, 2, 0, 1, 1, ""},
    {"PB Range", IParam::kDouble, 0, 12, 2, 1, 1, ""},
    {"Portamnt", IParam::kDouble, 0, 5, 0, 0.01, 4, "s"},
    {"M. Tune", IParam::kDouble, -64, 64, 0, 1, 1, ""},
    {"Osc Wave", IParam::kEnum, 0, 1, 0, 1, 1, ""},
    {"FM", IParam::kDouble, -100, 100, 0, 1, 1, "%"},
    {"FM Src", IParam::kEnum, 0, 1, 0, 1, 1, ""},
    {"Osc2Trns", IParam::kInt, -24, 24, 0, 1, 1, ""},
    {"Osc2Tune", IParam::kInt, -64, 64, 6, 1, 1, ""},
    {"Sync", IParam::kEnum, 0, 1, 0, 1, 1, ""},
    {"Flt Mode", IParam::kEnum, 0, 1, 0, 1, 1, ""},
    {"Flt Freq", IParam::kDouble, 0, 17280, 12218.805178903542, 1, 0.5, "Hz"},
    {"Flt Reso", IParam::kDouble, 0, 100, 0, 1, 1, "%"},
    {"Flt Env", IParam::kDouble, -100, 100, 0, 1, 1, "%"},
    {"Flt LFO", IParam::kDouble, -100, 100, 0, 1, 1, "%"},
    {"Flt Note", IParam::kDouble, 0, 100, 50, 1, 1, "%"},
    {"Flt Velo", IParam::kDouble, -100, 100, 0, 1, 1, "%"},
    {"Amp Velo", IParam::kDouble, 0, 100, 90, 1, 1, "%"},
    {"LFO Wave", IParam::kEnum, 0, 2, 0, 1, 1, ""},
    {"LFO Freq", IParam::kDouble, 0.001, 99.999, 6.77, 0.01, 4, "Hz"},
    {"FltEnv A", IParam::kDouble, 0, 100, 0, 1, 1, "%"},
    {"FltEnv D", IParam::kDouble, 0, 100, 0, 1, 1, "%"},
    {"FltEnv S", IParam::kEnum, 0, 1, 0, 1, 1, ""},
    {"AmpEnv A", IParam::kDouble, 0, 100, 0, 1, 1, "%"},
    {"AmpEnv D", IParam::kDouble, 0, 100, 0, 1, 1, "%"},
    {"AmpEnv S", IParam::kEnum, 0, 1, 1, 1, 1, ""},
    {"AmpEnv R", IParam::kDouble, 0, 100, 0, 1, 1, "%"},
    {"Chorus", IParam::kEnum, 0, 1, 0, 1, 1, ""},
    {"Cho LFO1", IParam::kDouble, 0, 100, 7, 1, 1, "%"},
    {"Cho LFO2", IParam::kDouble, 0, 100, 13, 1, 1, "%"},
    {"Cho Dpt", IParam::kDouble, 0, 100, 20, 1, 1, "%"},
};

std::string Display(const IParam& param, double value) {
  char text[IParam::kDisplaySize];
  param.GetDisplay(value, false, text, true);
  return text;
}

TEST(VornParameters, DeclaredAsTheTable) {
  Vorn vorn(nullptr);
  for (int i = 0; i < 32; ++i) {
    const IParam& p = *vorn.GetParam(i);
    const Row& row = kTable[i];
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(p.Name(), row.name);
    EXPECT_EQ(p.GetKind(), row.kind);
    EXPECT_EQ(p.Min(), row.min);
    EXPECT_EQ(p.Max(), row.max);
    EXPECT_EQ(p.Default(), row.defaultValue);
    EXPECT_EQ(p.Step(), row.step);
    EXPECT_EQ(p.Shape(), row.shape);
    EXPECT_STREQ(p.Label(), row.label);
    EXPECT_STREQ(p.Group(), "");
  }
}

TEST(VornParameters, DisplayTextsAndPrecision) {
  Vorn vorn(nullptr);
  EXPECT_EQ(Display(*vorn.GetParam(1), 2), "Single");
  EXPECT_EQ(Display(*vorn.GetParam(5), 1), "Square");
  EXPECT_EQ(Display(*vorn.GetParam(7), 1), "Env");
  EXPECT_EQ(Display(*vorn.GetParam(11), 0), "Smooth");
  EXPECT_EQ(Display(*vorn.GetParam(19), 2), "S/H");
  EXPECT_EQ(Display(*vorn.GetParam(28), 1), "On");
  EXPECT_EQ(Display(*vorn.GetParam(3), 0.3125), "0.31");
  EXPECT_EQ(Display(*vorn.GetParam(20), 6.77), "6.77");
  EXPECT_EQ(Display(*vorn.GetParam(8), -12), "-12");
  EXPECT_EQ(vorn.GetParam(3)->Precision(), 2);
}

TEST(VornParameters, FilterFrequencyShowsWholeHertzOfTheNearestPitchIndex) {
  Vorn vorn(nullptr);
  const IParam& cutoff = *vorn.GetParam(12);
  EXPECT_EQ(Display(cutoff, 0), "8");
  EXPECT_EQ(Display(cutoff, 17280), "19912");
  EXPECT_EQ(Display(cutoff, 8832), "440");
  EXPECT_EQ(Display(cutoff, 8831.6), "440");  // rounds to 8832
  EXPECT_EQ(Display(cutoff, 8831.4), "439");  // rounds to 8831
  char text[IParam::kDisplaySize];
  cutoff.GetDisplay(0.5, true, text, true);
  EXPECT_STREQ(text, "2029");  // the default cutoff, index 12219
}

}  // namespace
