#include <dlfcn.h>

#include "engine/platform/mts_library_loader.h"

namespace tuning_library {

// The tuning library's own installer puts it here on Linux.
std::string InstalledPath() { return "/usr/local/lib/libMTS.so"; }

// An empty path would name the program itself.
Handle Open(const std::string& path) {
  if (path.empty()) return nullptr;
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

EntryPoint Find(Handle library, const char* name) {
  return reinterpret_cast<EntryPoint>(dlsym(library, name));
}

void Close(Handle library) { dlclose(library); }

}  // namespace tuning_library
