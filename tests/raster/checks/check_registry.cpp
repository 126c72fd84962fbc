#include "tests/raster/checks/check.h"

std::vector<RasterCheck>& RasterChecks() {
  static std::vector<RasterCheck> checks;
  return checks;
}
