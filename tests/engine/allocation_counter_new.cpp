// Replaced global operator new/delete that count every allocation.
#include <atomic>
#include <cstdlib>
#include <new>

#include "allocation_counter.h"

std::atomic<std::size_t> gOperatorNewCount{0};
// Plain data in the program's own thread-local storage: reading it allocates
// nothing.
thread_local std::size_t tOperatorNewCount = 0;

namespace {

void Count() {
  gOperatorNewCount.fetch_add(1, std::memory_order_relaxed);
  ++tOperatorNewCount;
}

void* CountedAllocate(std::size_t size) {
  Count();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return CountedAllocate(size); }
void* operator new[](std::size_t size) { return CountedAllocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  Count();
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  Count();
  return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
