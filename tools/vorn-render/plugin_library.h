// A plug-in library loaded into the process and its VST 2 entry point. The
// platform file (dlopen or LoadLibrary) is chosen by the build.
#pragma once

#include <memory>
#include <string>

#include "plugin/vst2/vst2_abi.h"

namespace render {

class PluginLibrary {
 public:
  // Null with a reason in error when the file is missing or cannot be loaded.
  static std::unique_ptr<PluginLibrary> Open(const std::string& path, std::string& error);
  ~PluginLibrary();

  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // "VSTPluginMain", or the older export "main"; null when neither exists.
  vst2::EntryPoint FindEntryPoint() const;

 private:
  explicit PluginLibrary(void* handle) : handle_(handle) {}
  void* Symbol(const char* name) const;

  void* handle_;
};

}  // namespace render
