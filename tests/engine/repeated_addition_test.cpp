// The closed-form repeated addition against the additions made one by one:
// every result must be the same double, across binade edges, on ties, for
// steps far below and far above the spacing, with and without flush-to-zero.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "engine/denormal_guard.h"
#include "engine/repeated_addition.h"

namespace {

// Stops early once a sum no longer moves: every later one would be the same.
double AddOneByOne(double x, double step, int n) {
  for (int i = 0; i < n; ++i) {
    const double next = x + step;
    if (next == x && std::signbit(next) == std::signbit(x)) break;
    x = next;
  }
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

// The inline path takes all n additions at once or none. Where it answers
// false, x must be untouched; where it answers true, x must be what the
// additions one by one give. The column says which the common and the edge
// cases get: the chorus's glides must not fall back to the general path.
struct GridCase {
  double x;
  double step;
  int n;
  bool inlinePath;
};

constexpr double kSpacingAt64 = 0x1p-46;  // of the binade [64, 128)
constexpr double kDenormal = std::numeric_limits<double>::denorm_min();

std::vector<GridCase> GridCases() {
  return {
      {300.0, 0.0123, 48, true},                           // a chorus glide upwards
      {90.0, -0.0144, 48, true},                           // and downwards
      {64.0, 3 * kSpacingAt64, 48, true},                  // from a binade's foot upwards
      {64.0, -3 * kSpacingAt64, 1, false},                 // from a binade's foot downwards
      {64.0, -1e-30, 5, false},                            // from the foot, a step that rounds to nothing
      {64.0 + kSpacingAt64, -kSpacingAt64, 1, false},      // down onto the foot
      {64.0 + 2 * kSpacingAt64, -kSpacingAt64, 1, true},   // down to just above it
      {128.0 - kSpacingAt64, 1e-30, 7, true},              // at the top, a step that rounds to nothing
      {128.0 - 2 * kSpacingAt64, kSpacingAt64, 1, true},   // up to the binade's last number
      {128.0 - 2 * kSpacingAt64, kSpacingAt64, 2, false},  // and on to the next binade
      {100.0, 0.5 * kSpacingAt64, 9, false},               // ties: half a spacing
      {100.0, -2.5 * kSpacingAt64, 9, false},              // two and a half, downwards
      {100.0 + kSpacingAt64, 1.5 * kSpacingAt64, 9, false},
      {100.0, (0.5 - 0x1p-40) * kSpacingAt64, 9, true},  // just below half: rounds to nothing
      {100.0, (0.5 + 0x1p-40) * kSpacingAt64, 9, true},  // just above: one spacing each time
      {100.0, 0.0, 48, true},                            // no step
      {100.0, -0.0, 48, true},
      {700.0, kDenormal, 48, true},  // a denormal step
      {700.0, -kDenormal, 48, true},
      {1.0, 3 * 0x1p-52, 1 << 24, true},  // many additions
      {1.5, 1e-20, INT_MAX, true},        // the most, rounding to nothing
      {1.5, 0x1p-26, 1 << 25, false},     // just too many to stay in the binade
      {1e300, 3e284, 100, true},          // near the top of the range
      {1e-300, 1e-316, 10, false},        // a spacing with no normal inverse
      {-100.0, 0.01, 48, false},          // negative x
      {0.0, 0.01, 48, false},             // zero x
      {std::numeric_limits<double>::infinity(), 1.0, 3, false},
      {100.0, 0.01, 0, false},  // no additions
      {100.0, 0.01, -5, false},
  };
}

struct GridResults {
  double expected;
  bool taken;
  double all;
  double general;
};

GridResults RunBothPaths(const GridCase& c) {
  GridResults results{AddOneByOne(c.x, c.step, c.n), false, c.x, AddRepeatedly(c.x, c.step, c.n)};
  results.taken = AddAllOnOneGrid(results.all, c.step, c.n);
  return results;
}

TEST(RepeatedAddition, InlinePathTakesAllAdditionsOrLeavesThemAlone) {
  for (bool flushDenormals : {false, true}) {
    for (const GridCase& c : GridCases()) {
      GridResults r;
      if (flushDenormals) {
        DenormalGuard guard;
        r = RunBothPaths(c);
      } else {
        r = RunBothPaths(c);
      }
      const std::string where = "x " + std::to_string(c.x) + " step " + std::to_string(c.step) + " n " +
                                std::to_string(c.n) + " flush " + std::to_string(flushDenormals);
      EXPECT_EQ(r.taken, c.inlinePath) << where;
      EXPECT_EQ(Bits(r.all), Bits(r.taken ? r.expected : c.x)) << where;
      EXPECT_EQ(Bits(r.general), Bits(r.expected)) << where;
    }
  }
}

}  // namespace
