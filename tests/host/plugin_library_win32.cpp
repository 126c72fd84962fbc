// Windows plug-ins are DLLs: LoadLibrary, then GetProcAddress on the module,
// which only looks at that module's own export table.
#include <windows.h>

#include "tests/host/plugin_library.h"

PluginLibrary::PluginLibrary(const std::string& path) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return;
  }
  handle_ = module;
}

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

vst2::EntryPoint PluginLibrary::FindEntryPoint(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  FARPROC procedure = GetProcAddress(static_cast<HMODULE>(handle_), name);
  // void(*)() converts to and from any function type without a warning.
  return reinterpret_cast<vst2::EntryPoint>(reinterpret_cast<void (*)()>(procedure));
}
