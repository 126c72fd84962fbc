// The closed-form repeated addition against the additions made one by one:
// every result must be the same double, across binade edges, on ties, for
// steps far below and far above the spacing, with and without flush-to-zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "engine/denormal_guard.h"
#include "engine/repeated_addition.h"

namespace {

double AddOneByOne(double x, double step, int n) {
  for (int i = 0; i < n; ++i) x += step;
  return x;
}

std::uint64_t Bits(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

struct Case {
  double x;
  double step;
  int n;
};

// Chorus-like delays (48 .. 800 samples) and glides, plus the awkward spots.
std::vector<Case> Cases() {
  std::vector<Case> cases = {
      {0.0, 0.02, 48},                   // starts at zero
      {63.99, 0.001, 48},                // crosses 64 upwards
      {64.0005, -0.0001, 48},            // crosses 64 downwards
      {64.0, -1e-20, 10},                // at a binade's foot, a step that rounds away
      {64.0, 1e-20, 10},                 // and upwards
      {48.0, 0.0, 48},                   // no step
      {100.0, 0.5 * 0x1p-46, 7},         // exactly half a spacing: a tie each time
      {100.0, 1.5 * 0x1p-46, 7},         // one and a half spacings: a tie too
      {100.0, 0x1p-46 * 0.4999999, 40},  // just below half
      {1e300, 1e290, 30},                // large numbers
      {3e-300, 1e-310, 20},              // tiny numbers and a denormal step
      {-5.0, 0.3, 40},                   // negative start crossing zero
      {1.0, 1e30, 3},                    // a step much larger than x
      {700.0, -1.9, 48},                 // long glide downwards across 512
  };
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> delay(40.0, 820.0);
  std::uniform_real_distribution<double> fraction(-1.0, 1.0);
  std::uniform_int_distribution<int> length(1, 200);
  for (int i = 0; i < 20000; ++i) {
    const double x = delay(rng);
    const double step = fraction(rng) * std::pow(10.0, -static_cast<int>(rng() % 14));
    cases.push_back({x, step, length(rng)});
  }
  return cases;
}

TEST(RepeatedAddition, GivesTheSameDoubleAsAddingOneByOne) {
  for (bool flushDenormals : {false, true}) {
    for (const Case& c : Cases()) {
      double expected;
      double actual;
      if (flushDenormals) {
        DenormalGuard guard;
        expected = AddOneByOne(c.x, c.step, c.n);
        actual = AddRepeatedly(c.x, c.step, c.n);
      } else {
        expected = AddOneByOne(c.x, c.step, c.n);
        actual = AddRepeatedly(c.x, c.step, c.n);
      }
      ASSERT_EQ(Bits(actual), Bits(expected))
          << "x " << c.x << " step " << c.step << " n " << c.n << " flush " << flushDenormals;
    }
  }
}

}  // namespace
