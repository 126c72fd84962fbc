// UTF-8 paths go to the wide functions. Text that is not valid UTF-8 goes to
// the narrow (ANSI code page) functions, as a path from an older host would.
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "plugin/file_system.h"

namespace file_system {
namespace {

bool Widen(const char* utf8, std::wstring& wide) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &wide[0], length) == length;
}

}  // namespace

std::FILE* Open(const char* utf8Path, const char* mode) {
  std::wstring path, wideMode;
  if (Widen(utf8Path, path) && Widen(mode, wideMode)) return _wfopen(path.c_str(), wideMode.c_str());
  return std::fopen(utf8Path, mode);
}

bool Sync(std::FILE* file) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool MoveReplacing(const char* fromUtf8, const char* toUtf8) {
  constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  std::wstring from, to;
  if (Widen(fromUtf8, from) && Widen(toUtf8, to)) return MoveFileExW(from.c_str(), to.c_str(), kFlags) != 0;
  return MoveFileExA(fromUtf8, toUtf8, kFlags) != 0;
}

void Remove(const char* utf8Path) {
  std::wstring path;
  if (Widen(utf8Path, path)) {
    DeleteFileW(path.c_str());
  } else {
    DeleteFileA(utf8Path);
  }
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

}  // namespace file_system
