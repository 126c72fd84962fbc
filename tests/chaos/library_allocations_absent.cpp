// For the build whose sanitizer owns the allocator: nothing can be counted.
#include "tests/chaos/library_allocations.h"

bool WatchLibraryAllocations(const void*, std::string& how) {
  how = "not counted: ThreadSanitizer owns the allocator";
  return false;
}

std::size_t ThreadLibraryAllocations() { return 0; }
