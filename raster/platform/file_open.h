// Opens a file named by a UTF-8 path for binary reading or writing; null on
// failure.
#pragma once

#include <cstdio>

namespace px_file {
std::FILE* OpenForReading(const char* utf8Path);
std::FILE* OpenForWriting(const char* utf8Path);
}  // namespace px_file
