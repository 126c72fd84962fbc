#include "tests/host/plugin_library.h"

#include "engine/platform/dynamic_library.h"

PluginLibrary::PluginLibrary(const std::string& path) { handle_ = dynamic_library::Open(path, error_); }

PluginLibrary::~PluginLibrary() { dynamic_library::Close(handle_); }

vst2::EntryPoint PluginLibrary::FindEntryPoint(const char* name) const {
  return reinterpret_cast<vst2::EntryPoint>(dynamic_library::Find(handle_, name));
}
