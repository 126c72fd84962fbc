#include <io.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>

#include "tools/vorn-render/host_system.h"

namespace render {

const char* const kDefaultPluginFileName = sizeof(void*) == 8 ? "vorn64.dll" : "vorn.dll";

std::string ExecutableDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::filesystem::path(path).parent_path().string();
}

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
  const auto hundredNanos = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  };
  return (hundredNanos(kernel) + hundredNanos(user)) * 1e-7;
}

}  // namespace render
