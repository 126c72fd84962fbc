// Turns flush-to-zero and denormals-are-zero on for its lifetime and restores
// the caller's SSE control word on exit. Decaying filter and envelope states
// would otherwise crawl through the denormal range, where every operation costs
// a hundred cycles; zero is the right answer for such values.
#pragma once

#include <xmmintrin.h>

class DenormalGuard {
 public:
  DenormalGuard() : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(mSaved); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

  static constexpr unsigned kFlushToZero = 0x8000;       // MXCSR bit 15
  static constexpr unsigned kDenormalsAreZero = 0x0040;  // MXCSR bit 6

 private:
  unsigned mSaved;
};
