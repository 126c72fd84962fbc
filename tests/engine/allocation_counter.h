// Counts heap allocations made anywhere in the test program, through replaced
// global operator new and (where the C library allows it) malloc.
#pragma once

#include <cstddef>

std::size_t AllocationCount();
// The same count for the calling thread alone: what one thread's calls
// allocated while other threads allocate too.
std::size_t ThreadAllocationCount();
// Whether malloc, calloc and realloc are counted too, not only operator new.
bool CountsMalloc();
