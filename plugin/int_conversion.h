// Truncation toward zero that stays defined for any double: NaN gives 0 and
// values beyond the int range saturate, where a plain cast is undefined.
#pragma once

#include <cmath>
#include <limits>

inline int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}
