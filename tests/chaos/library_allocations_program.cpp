// The plug-in library resolves operator new and malloc to the program's own,
// which the allocation counter replaces: every allocation it makes is counted.
#include "tests/chaos/library_allocations.h"
#include "tests/engine/allocation_counter.h"

bool WatchLibraryAllocations(const void*, std::string& how) {
  how = CountsMalloc() ? "operator new and malloc counted"
                       : "operator new counted, malloc not (the sanitizer's allocator owns it)";
  return true;
}

std::size_t ThreadLibraryAllocations() { return ThreadAllocationCount(); }
