// The raster checks as a self-contained Windows program, run under Wine
// where GoogleTest is not available. Prints each failure, then
// "N passed, N failed"; exits non-zero when any check failed.
#include <cstdio>

#include "tests/raster/checks/check.h"

int main() {
  int passed = 0;
  int failed = 0;
  for (const RasterCheck& check : RasterChecks()) {
    CheckLog log;
    check.run(log);
    if (log.Failures() == 0) {
      ++passed;
      std::printf("ok   %s.%s\n", check.group, check.name);
    } else {
      ++failed;
      std::printf("FAIL %s.%s\n%s", check.group, check.name, log.Messages().c_str());
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
