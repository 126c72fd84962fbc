#include <windows.h>

#include <cstdio>
#include <string>

#include "plugin/file_replace.h"

bool WriteFileReplacing(const char* path, const void* data, std::size_t size) {
  if (!path || !path[0]) return false;
  const std::string temporary = std::string(path) + ".tmp-" + std::to_string(GetCurrentProcessId());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  if (!(written && flushed && closed) ||
      !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}
