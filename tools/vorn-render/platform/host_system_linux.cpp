#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tools/vorn-render/host_system.h"

namespace render {

const char* const kDefaultPluginFileName = "vorn.so";

std::string ExecutableDirectory() {
  std::error_code code;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", code);
  return code ? std::string() : self.parent_path().string();
}

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace render
