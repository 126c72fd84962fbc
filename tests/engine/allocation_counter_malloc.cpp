// glibc's malloc family, wrapped to count calls (not built with sanitizers,
// which bring their own allocator).
#include <atomic>
#include <cstddef>

#include "allocation_counter.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
}

extern std::atomic<std::size_t> gOperatorNewCount;
extern thread_local std::size_t tOperatorNewCount;

namespace {

std::atomic<std::size_t> gMallocCount{0};
thread_local std::size_t tMallocCount = 0;

void Count() {
  gMallocCount.fetch_add(1, std::memory_order_relaxed);
  ++tMallocCount;
}

}  // namespace

extern "C" void* malloc(std::size_t size) {
  Count();
  return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size) {
  Count();
  return __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, std::size_t size) {
  Count();
  return __libc_realloc(block, size);
}

std::size_t AllocationCount() {
  return gOperatorNewCount.load(std::memory_order_relaxed) + gMallocCount.load(std::memory_order_relaxed);
}
std::size_t ThreadAllocationCount() { return tOperatorNewCount + tMallocCount; }
bool CountsMalloc() { return true; }
