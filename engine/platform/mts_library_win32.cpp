#include <windows.h>

#include "engine/platform/mts_library_loader.h"

namespace tuning_library {

namespace {

constexpr UINT kSystemPathSize = 260;
constexpr char kLibraryName[] = "\\LIBMTS.dll";

}  // namespace

// The tuning library installs itself into the Windows system folder.
std::string InstalledPath() {
  char folder[kSystemPathSize] = {};
  const UINT length = GetSystemDirectoryA(folder, kSystemPathSize);
  if (length == 0 || length >= kSystemPathSize) return std::string();
  return std::string(folder, length) + kLibraryName;
}

Handle Open(const std::string& path) {
  if (path.empty()) return nullptr;
  return reinterpret_cast<Handle>(LoadLibraryA(path.c_str()));
}

EntryPoint Find(Handle library, const char* name) {
  return reinterpret_cast<EntryPoint>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void Close(Handle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace tuning_library
