#include "tools/vorn-render/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace render {

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>& bytes,
                   std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  unsigned char buffer[65536];
  std::size_t got = 0;
  bool ok = true;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (bytes.size() + got > maxBytes) {
      error = path + " is larger than " + std::to_string(maxBytes >> 20) + " MiB";
      ok = false;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  if (ok && std::ferror(file)) {
    error = "cannot read " + path;
    ok = false;
  }
  std::fclose(file);
  return ok;
}

}  // namespace render
