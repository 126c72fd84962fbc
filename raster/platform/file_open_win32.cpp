// Windows opens UTF-8 paths through UTF-16, falling back to the narrow path
// (the ANSI code page) when the text is not valid UTF-8 or cannot be opened.
#include <windows.h>

#include "raster/platform/file_open.h"

namespace px_file {
namespace {
constexpr int kMaxWidePathLength = 2048;
}

std::FILE* OpenForReading(const char* utf8Path) {
  wchar_t wide[kMaxWidePathLength + 1];
  const int converted =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path, -1, wide, kMaxWidePathLength + 1);
  if (converted > 0) {
    if (std::FILE* file = _wfopen(wide, L"rb")) return file;
  }
  return std::fopen(utf8Path, "rb");
}

}  // namespace px_file
