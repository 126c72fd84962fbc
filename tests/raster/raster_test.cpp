// Runs every raster check as its own GoogleTest case (Group.Name).
#include <gtest/gtest.h>

#include "tests/raster/checks/check.h"

namespace {

class RasterCheckTest : public testing::Test {
 public:
  explicit RasterCheckTest(void (*run)(CheckLog&)) : run_(run) {}
  void TestBody() override {
    CheckLog log;
    run_(log);
    EXPECT_EQ(log.Failures(), 0) << log.Messages();
  }

 private:
  void (*run_)(CheckLog&);
};

}  // namespace

// fontconfig keeps its configuration for the life of the process (released
// only by FcFini, which a library must not call on others' behalf).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (const RasterCheck& check : RasterChecks()) {
    auto run = check.run;
    testing::RegisterTest(check.group, check.name, nullptr, nullptr, __FILE__, __LINE__,
                          [run]() -> testing::Test* { return new RasterCheckTest(run); });
  }
  return RUN_ALL_TESTS();
}
