#include <dlfcn.h>

#include <filesystem>

#include "tools/vorn-render/plugin_library.h"

namespace render {

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, std::string& error) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) {
    error = "cannot load plug-in " + path + ": no such file";
    return nullptr;
  }
  // dlopen searches the library path for names without a slash; a file named
  // on the command line is meant as a path.
  const std::string explicitPath = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(explicitPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = "cannot load plug-in " + path + ": " + (reason ? reason : "unknown error");
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle));
}

PluginLibrary::~PluginLibrary() { dlclose(handle_); }

void* PluginLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

vst2::EntryPoint PluginLibrary::FindEntryPoint() const {
  for (const char* name : {"VSTPluginMain", "main"}) {
    if (void* symbol = Symbol(name)) return reinterpret_cast<vst2::EntryPoint>(symbol);
  }
  return nullptr;
}

}  // namespace render
