#include "plugin/bounded_file.h"

#include <cstdio>

#include "plugin/file_system.h"

namespace {
constexpr std::size_t kReadStep = 65536;
}

BoundedRead ReadBoundedFile(const char* utf8Path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::FILE* file = utf8Path && utf8Path[0] ? file_system::Open(utf8Path, "rb") : nullptr;
  if (!file) return BoundedRead::kCannotOpen;
  BoundedRead result = BoundedRead::kRead;
  std::uint8_t buffer[kReadStep];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (got > maxBytes - bytes.size()) {
      result = BoundedRead::kTooLarge;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  if (result == BoundedRead::kRead && std::ferror(file)) result = BoundedRead::kReadFailed;
  std::fclose(file);
  if (result != BoundedRead::kRead) bytes.clear();
  return result;
}
