// Transport state as the host reports it; fields a query leaves unset keep
// what the caller put there.
#pragma once

#include <cstdint>

struct TimeInfo {
  double tempo = 0.0;
  double samplePosition = 0.0;
  double ppqPosition = 0.0;
  double lastBarStart = 0.0;
  double cycleStart = 0.0;
  double cycleEnd = 0.0;
  std::int32_t numerator = 0;
  std::int32_t denominator = 0;
  bool transportRunning = false;
  bool loopEnabled = false;
};
