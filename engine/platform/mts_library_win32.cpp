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

}  // namespace tuning_library
