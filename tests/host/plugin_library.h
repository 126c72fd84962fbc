// A plug-in library opened by path, the way a host opens it: the platform's
// dynamic loader (the engine's dynamic-library seam), then the exported entry
// points by name.
#pragma once

#include <string>

#include "plugin/vst2/vst2_abi.h"

class PluginLibrary {
 public:
  // Opens the library at `path`; IsOpen() tells whether that worked and
  // Error() why not.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }

  // The exported function `name` of this library (not of the program or of
  // another library), or null when the library does not export it.
  vst2::EntryPoint FindEntryPoint(const char* name) const;

 private:
  void* handle_ = nullptr;
  std::string error_;
};
