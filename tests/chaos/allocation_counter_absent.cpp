// For the build whose sanitizer owns the allocator: nothing is counted.
#include "tests/engine/allocation_counter.h"

std::size_t AllocationCount() { return 0; }
bool CountsMalloc() { return false; }
