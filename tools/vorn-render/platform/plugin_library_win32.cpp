#include <windows.h>

#include <filesystem>

#include "tools/vorn-render/plugin_library.h"

namespace render {

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, std::string& error) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) {
    error = "cannot load plug-in " + path + ": no such file";
    return nullptr;
  }
  // Keep Windows from showing a dialog box for a library it cannot load.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  const DWORD failure = GetLastError();
  SetErrorMode(previousMode);
  if (!module) {
    char reason[256] = "unknown error";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, failure, 0, reason,
                   sizeof reason, nullptr);
    std::string text = reason;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    // Some system texts carry a placeholder for the file name.
    const std::size_t placeholder = text.find("%1");
    if (placeholder != std::string::npos) text.replace(placeholder, 2, "the file");
    error = "cannot load plug-in " + path + ": " + text + " (error " + std::to_string(failure) + ")";
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(module));
}

PluginLibrary::~PluginLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* PluginLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

vst2::EntryPoint PluginLibrary::FindEntryPoint() const {
  for (const char* name : {"VSTPluginMain", "main"}) {
    if (void* symbol = Symbol(name)) return reinterpret_cast<vst2::EntryPoint>(symbol);
  }
  return nullptr;
}

}  // namespace render
