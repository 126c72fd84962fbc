#include "tools/vorn-render/plugin_library.h"

#include <filesystem>

namespace render {

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, std::string& error) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) {
    error = "cannot load plug-in " + path + ": no such file";
    return nullptr;
  }
  std::string reason;
  dynamic_library::Handle handle = dynamic_library::Open(path, reason);
  if (!handle) {
    error = "cannot load plug-in " + path + ": " + reason;
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle));
}

PluginLibrary::~PluginLibrary() { dynamic_library::Close(handle_); }

vst2::EntryPoint PluginLibrary::FindEntryPoint() const {
  for (const char* name : {"VSTPluginMain", "main"}) {
    if (auto function = dynamic_library::Find(handle_, name)) return reinterpret_cast<vst2::EntryPoint>(function);
  }
  return nullptr;
}

}  // namespace render
