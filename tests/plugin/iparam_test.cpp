#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "plugin/iparam.h"

namespace {

std::string Display(const IParam& param, double x, bool normalized = false) {
  char text[IParam::kDisplaySize];
  param.GetDisplay(x, normalized, text, true);
  return text;
}

TEST(IParam, IntegerQuantisationRoundsToTheStep) {
  IParam semis;
  semis.InitInt("Semis", 0, -24, 24);
  semis.SetNormalized(0.25);
  EXPECT_EQ(semis.Value(), -12.0);
  semis.SetNormalized(0.26);  // -11.52 before quantisation
  EXPECT_EQ(semis.Value(), -12.0);
  semis.SetNormalized(0.27);  // -11.04
  EXPECT_EQ(semis.Value(), -11.0);
  semis.SetNormalized(1.0);
  EXPECT_EQ(semis.Value(), 24.0);
  EXPECT_EQ(Display(semis, 0.26, true), "-11");  // unquantised, truncated by the text
}

TEST(IParam, ContinuousValuesAreNeverQuantised) {
  IParam volume;
  volume.InitDouble("Volume", 50, 0, 100, 1, "%");
  volume.SetNormalized(0.5);
  EXPECT_EQ(volume.Value(), 50.0);
  volume.SetNormalized(0.503);
  EXPECT_DOUBLE_EQ(volume.Value(), 50.3);
  EXPECT_EQ(Display(volume, volume.Value()), "50");
}

TEST(IParam, ShapeMapsBothWays) {
  IParam glide;
  glide.InitDouble("Portamnt", 0, 0, 5, 0.01, "s", 4);
  glide.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(glide.Value(), 5.0 * 0.0625);
  EXPECT_NEAR(glide.GetNormalized(), 0.5, 1e-12);
  EXPECT_DOUBLE_EQ(glide.GetNormalized(-3.0), 0.0);  // clamped before the mapping
  EXPECT_DOUBLE_EQ(glide.GetNormalized(9.0), 1.0);
}

TEST(IParam, PrecisionFollowsTheStepAndMaxIsRaised) {
  IParam p;
  p.InitDouble("a", 0, 0, 1, 0.01);
  EXPECT_EQ(p.Precision(), 2);
  p.InitDouble("a", 0, 0, 1, 0.001);
  EXPECT_EQ(p.Precision(), 3);
  p.InitDouble("a", 0, 0, 1, 1e-9);
  EXPECT_EQ(p.Precision(), 6);
  p.InitDouble("a", 0, 0, 1, 1);
  EXPECT_EQ(p.Precision(), 0);
  EXPECT_EQ(p.Max(), 1.0);
  p.InitDouble("a", 0, 10, 10.5, 1);
  EXPECT_EQ(p.Max(), 11.0);
  EXPECT_EQ(Display(p, 0.25), "0");
  p.InitDouble("b", 0, 0, 1, 0.01);
  EXPECT_EQ(Display(p, 0.256), "0.26");
}

TEST(IParam, EnumTextsAndLabels) {
  const char* const texts[] = {"Off", "Multiple", "Single"};
  IParam mode;
  mode.InitEnum("Monophon", 0, 3, texts);
  EXPECT_EQ(mode.GetKind(), IParam::kEnum);
  EXPECT_EQ(mode.Max(), 2.0);
  mode.SetValue(1);
  EXPECT_EQ(Display(mode, mode.Value()), "Multiple");
  EXPECT_STREQ(mode.GetLabel(), "");
  EXPECT_EQ(Display(mode, 7), "7");  // no entry: the number

  IParam labelled;
  labelled.InitDouble("Flt Reso", 0, 0, 100, 1, "%");
  labelled.SetDisplayText(5, "");
  labelled.SetValue(5);
  EXPECT_STREQ(labelled.GetLabel(), "%");  // an empty text keeps the unit label
  EXPECT_EQ(Display(labelled, 5), "5");
}

TEST(IParam, NegateDisplayAppliesAfterTheTextLookup) {
  IParam p;
  p.InitDouble("n", 0, -10, 10, 1);
  p.SetNegateDisplay(true);
  EXPECT_EQ(Display(p, 5), "-5");
  p.SetDisplayText(5, "five");
  EXPECT_EQ(Display(p, 5), "five");
}

TEST(IParam, KindSetEarlierSurvivesInitDouble) {
  IParam p;
  p.InitInt("i", 3, 0, 10);
  EXPECT_EQ(p.GetKind(), IParam::kInt);
  p.InitDouble("i", 3, 0, 10, 1);
  EXPECT_EQ(p.GetKind(), IParam::kInt);
  IParam q;
  q.InitDouble("d", 0, 0, 1, 0.1, "", 0.0);  // a shape of 0 keeps the shape
  EXPECT_EQ(q.Shape(), 1.0);
}

TEST(IParam, HostileValuesStayDefined) {
  IParam p;
  p.InitDouble("Flt Freq", 0, 0, 17280, 1, "Hz", 0.5);
  p.SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.Value(), 0.0);
  p.SetNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FALSE(std::isnan(p.Value()));
  EXPECT_EQ(Display(p, 1e300), "2147483647");
  EXPECT_EQ(Display(p, -1e300), "-2147483648");
  EXPECT_EQ(Display(p, std::numeric_limits<double>::quiet_NaN()), "0");
}

}  // namespace
