// Linux plug-ins are shared objects: dlopen, then dlsym on the handle.
#include <dlfcn.h>
#include <link.h>

#include "tests/host/plugin_library.h"

PluginLibrary::PluginLibrary(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = dlerror();
    error_ = reason != nullptr ? reason : "dlopen failed";
  }
}

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

vst2::EntryPoint PluginLibrary::FindEntryPoint(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  void* symbol = dlsym(handle_, name);
  if (symbol == nullptr) return nullptr;
  // dlsym also searches the library's dependencies; an entry point found
  // there (a "main" of some other object) is not the plug-in's.
  link_map* map = nullptr;
  Dl_info symbolInfo{};
  Dl_info libraryInfo{};
  if (dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr ||
      dladdr(symbol, &symbolInfo) == 0 || dladdr(map->l_ld, &libraryInfo) == 0 ||
      symbolInfo.dli_fbase != libraryInfo.dli_fbase) {
    return nullptr;
  }
  return reinterpret_cast<vst2::EntryPoint>(symbol);
}
