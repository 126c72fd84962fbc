// Writes a file so that the file it replaces survives any failure: the bytes
// go to a temporary file beside the target, which is renamed over the target
// only once it is complete and closed.
#pragma once

#include <cstddef>

bool WriteFileReplacing(const char* path, const void* data, std::size_t size);
