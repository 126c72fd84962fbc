// Renders each golden scenario and compares it with its checked-in reference.
// A difference means the sound changed: either a fault, or an intended change
// whose references are then regenerated (golden/README.md) and reviewed.
#include <gtest/gtest.h>

#include <cmath>

#include "golden_scenarios.h"

namespace {

// Far below anything audible, far above the last-bit differences between
// compilers that a rearranged but equivalent expression may cause.
constexpr double kTolerance = 1e-10;

}  // namespace

TEST(GoldenRender, MatchesTheCheckedInReferences) {
  for (const GoldenScenario& scenario : GoldenScenarios()) {
    Stereo reference;
    ASSERT_TRUE(ReadGolden(std::string(VORN_GOLDEN_DIR) + "/" + scenario.name + ".f64", reference)) << scenario.name;
    const Stereo rendered = scenario.render();
    ASSERT_EQ(rendered.left.size(), reference.left.size()) << scenario.name;
    double worst = 0.0;
    std::size_t worstAt = 0;
    for (std::size_t i = 0; i < rendered.left.size(); ++i) {
      const double error =
          std::max(std::fabs(rendered.left[i] - reference.left[i]), std::fabs(rendered.right[i] - reference.right[i]));
      if (!(error <= worst)) {
        worst = error;
        worstAt = i;
      }
    }
    EXPECT_LE(worst, kTolerance) << scenario.name << ": largest difference at frame " << worstAt;
    double peak = 0.0;
    for (double x : rendered.left) peak = std::max(peak, std::fabs(x));
    EXPECT_GT(peak, 0.01) << scenario.name << " should not be silent";
  }
}
