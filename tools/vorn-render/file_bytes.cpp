#include "tools/vorn-render/file_bytes.h"

#include <cerrno>
#include <cstring>

#include "plugin/bounded_file.h"

namespace render {

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>& bytes,
                   std::string& error) {
  switch (ReadBoundedFile(path.c_str(), maxBytes, bytes)) {
    case BoundedRead::kRead: return true;
    case BoundedRead::kCannotOpen: error = "cannot open " + path + ": " + std::strerror(errno); break;
    case BoundedRead::kTooLarge: error = path + " is larger than " + std::to_string(maxBytes >> 20) + " MiB"; break;
    case BoundedRead::kReadFailed: error = "cannot read " + path; break;
  }
  return false;
}

}  // namespace render
