// Windows opens UTF-8 paths through UTF-16, falling back to the narrow path
// (the ANSI code page) when the text is not valid UTF-8 or cannot be opened.
#include <windows.h>

#include "raster/platform/file_open.h"

namespace px_file {
namespace {
constexpr int kMaxWidePathLength = 2048;

std::FILE* Open(const char* utf8Path, const wchar_t* wideMode, const char* mode) {
  wchar_t wide[kMaxWidePathLength + 1];
  const int converted = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Path, -1, wide, kMaxWidePathLength + 1);
  if (converted > 0) {
    if (std::FILE* file = _wfopen(wide, wideMode)) return file;
  }
  return std::fopen(utf8Path, mode);
}
}  // namespace

std::FILE* OpenForReading(const char* utf8Path) { return Open(utf8Path, L"rb", "rb"); }

std::FILE* OpenForWriting(const char* utf8Path) { return Open(utf8Path, L"wb", "wb"); }

}  // namespace px_file
