// With a sanitizer's allocator in place only operator new is counted.
#include <atomic>

#include "allocation_counter.h"

extern std::atomic<std::size_t> gOperatorNewCount;
extern thread_local std::size_t tOperatorNewCount;

std::size_t AllocationCount() { return gOperatorNewCount.load(std::memory_order_relaxed); }
bool CountsMalloc() { return false; }
std::size_t ThreadAllocationCount() { return tOperatorNewCount; }
