#include "plugin/file_replace.h"

#include <cstdio>
#include <string>

#include "plugin/file_system.h"

bool WriteFileReplacing(const char* path, const void* data, std::size_t size) {
  if (!path || !path[0]) return false;
  const std::string temporary = std::string(path) + ".tmp-" + std::to_string(file_system::ProcessId());
  std::FILE* file = file_system::Open(temporary.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  const bool flushed = std::fflush(file) == 0 && file_system::Sync(file);
  const bool closed = std::fclose(file) == 0;
  if (!(written && flushed && closed) || !file_system::MoveReplacing(temporary.c_str(), path)) {
    file_system::Remove(temporary.c_str());
    return false;
  }
  return true;
}
