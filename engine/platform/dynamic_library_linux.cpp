#include <dlfcn.h>
#include <link.h>

#include "engine/platform/dynamic_library.h"

namespace dynamic_library {

Handle Open(const std::string& path, std::string& error) {
  // An empty path would name the program itself; a name without a slash
  // would be searched for on the library path.
  if (path.empty()) {
    error = "no library named";
    return nullptr;
  }
  const std::string explicitPath = path.find('/') == std::string::npos ? "./" + path : path;
  Handle library = dlopen(explicitPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    error = reason ? reason : "dlopen failed";
  }
  return library;
}

Function Find(Handle library, const char* name) {
  if (!library) return nullptr;
  void* symbol = dlsym(library, name);
  if (!symbol) return nullptr;
  // dlsym also searches the library's dependencies; a function found there
  // (a "main" of some other object) is not this library's.
  link_map* map = nullptr;
  Dl_info symbolInfo{};
  Dl_info libraryInfo{};
  if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || dladdr(symbol, &symbolInfo) == 0 ||
      dladdr(map->l_ld, &libraryInfo) == 0 || symbolInfo.dli_fbase != libraryInfo.dli_fbase) {
    return nullptr;
  }
  return reinterpret_cast<Function>(symbol);
}

void Close(Handle library) {
  if (library) dlclose(library);
}

}  // namespace dynamic_library
