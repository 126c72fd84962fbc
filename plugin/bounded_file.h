// Reads a whole file that may come from anywhere, refusing it once it is
// larger than a limit: no more than the limit is ever held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class BoundedRead { kRead, kCannotOpen, kTooLarge, kReadFailed };

// The path is UTF-8 (plugin/file_system.h). On anything but kRead, bytes is
// left empty.
BoundedRead ReadBoundedFile(const char* utf8Path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes);
