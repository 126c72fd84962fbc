// Heap allocations the plug-in makes, counted per thread so that the chaos
// host can tell whether a process call allocated while other threads call
// the plug-in too. How they can be counted depends on the build: the
// program's replaced allocator where the plug-in shares it (Linux), the
// library's imports of the C runtime's allocator (Windows), or not at all
// (ThreadSanitizer owns the allocator).
#pragma once

#include <cstddef>
#include <string>

// Prepares counting for the library that holds `codeInLibrary` (its entry
// point). Answers whether this build counts that library's allocations;
// `how` says what is counted, or why nothing is.
bool WatchLibraryAllocations(const void* codeInLibrary, std::string& how);
// Allocations made on the calling thread so far (only meaningful after
// WatchLibraryAllocations answered true).
std::size_t ThreadLibraryAllocations();
