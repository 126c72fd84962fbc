// LoadLibrary through the wide function, so that any folder name works;
// GetProcAddress only looks at the module's own export table.
#include <windows.h>

#include "engine/platform/dynamic_library.h"

namespace dynamic_library {
namespace {

std::string SystemText(DWORD failure) {
  char reason[256] = "unknown error";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, failure, 0, reason, sizeof reason,
                 nullptr);
  std::string text = reason;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  // Some system texts carry a placeholder for the file name.
  const std::size_t placeholder = text.find("%1");
  if (placeholder != std::string::npos) text.replace(placeholder, 2, "the file");
  return text + " (error " + std::to_string(failure) + ")";
}

HMODULE Load(const std::string& path) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
  if (length <= 0) return LoadLibraryA(path.c_str());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, &wide[0], length);
  return LoadLibraryW(wide.c_str());
}

}  // namespace

Handle Open(const std::string& path, std::string& error) {
  if (path.empty()) {
    error = "no library named";
    return nullptr;
  }
  // Keep Windows from showing a dialog box for a library it cannot load.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = Load(path.find_first_of("\\/") == std::string::npos ? ".\\" + path : path);
  const DWORD failure = GetLastError();
  SetErrorMode(previousMode);
  if (!module) error = SystemText(failure);
  return reinterpret_cast<Handle>(module);
}

Function Find(Handle library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Function>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void Close(Handle library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace dynamic_library
