// Opens a file named by a UTF-8 path for binary reading; null on failure.
#pragma once

#include <cstdio>

namespace px_file {
std::FILE* OpenForReading(const char* utf8Path);
}
