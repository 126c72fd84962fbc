#include <unistd.h>

#include <cstdio>

#include "plugin/file_system.h"

namespace file_system {

std::FILE* Open(const char* utf8Path, const char* mode) { return std::fopen(utf8Path, mode); }

bool Sync(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool MoveReplacing(const char* fromUtf8, const char* toUtf8) { return std::rename(fromUtf8, toUtf8) == 0; }

void Remove(const char* utf8Path) { std::remove(utf8Path); }

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

}  // namespace file_system
