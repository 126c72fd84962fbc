#include "engine/vector_path.h"

#include <atomic>

namespace {

// Set by the build: 1 where the AVX2 path is never to be taken.
constexpr bool kSse2Only = VORN_SSE2_ONLY;

VectorPath Detect() { return !kSse2Only && __builtin_cpu_supports("avx2") ? VectorPath::kAvx2 : VectorPath::kSse2; }

std::atomic<VectorPath>& Selected() {
  static std::atomic<VectorPath> selected{Detect()};
  return selected;
}

}  // namespace

VectorPath BestVectorPath() {
  static const VectorPath best = Detect();
  return best;
}

VectorPath SelectedVectorPath() { return Selected().load(std::memory_order_relaxed); }

bool SelectVectorPath(VectorPath path) {
  if (path == VectorPath::kAvx2 && BestVectorPath() != VectorPath::kAvx2) return false;
  Selected().store(path, std::memory_order_relaxed);
  return true;
}
