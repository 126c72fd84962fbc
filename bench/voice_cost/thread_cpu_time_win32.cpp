#include "bench/voice_cost/thread_cpu_time.h"

#include <windows.h>

namespace {

// FILETIME counts 100-nanosecond intervals.
double Seconds(const FILETIME& time) {
  const ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<double>(ticks) * 1e-7;
}

}  // namespace

double ThreadCpuSeconds() {
  FILETIME creation{}, exit{}, kernel{}, user{};
  if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) return 0.0;
  return Seconds(kernel) + Seconds(user);
}
