// A plug-in library loaded into the process and its VST 2 entry point,
// through the engine's dynamic-library seam.
#pragma once

#include <memory>
#include <string>

#include "engine/platform/dynamic_library.h"
#include "plugin/vst2/vst2_abi.h"

namespace render {

class PluginLibrary {
 public:
  // Null with a reason in error when the file is missing or cannot be loaded.
  static std::unique_ptr<PluginLibrary> Open(const std::string& path, std::string& error);
  ~PluginLibrary();

  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // "VSTPluginMain", or the older export "main"; null when the library itself
  // exports neither (a "main" of a library it depends on does not count).
  vst2::EntryPoint FindEntryPoint() const;

 private:
  explicit PluginLibrary(dynamic_library::Handle handle) : handle_(handle) {}

  dynamic_library::Handle handle_;
};

}  // namespace render
