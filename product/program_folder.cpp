#include "product/program_folder.h"

namespace {

struct ProcessFolder {
  bool started = false;
  std::string folder;
};

ProcessFolder& TheFolder() {
  static ProcessFolder folder;
  return folder;
}

}  // namespace

void StartCurrentProgramFolder(const std::string& folder) {
  ProcessFolder& current = TheFolder();
  if (current.started) return;
  current.started = true;
  current.folder = folder;
}

const std::string& CurrentProgramFolder() { return TheFolder().folder; }

void SetCurrentProgramFolder(const std::string& folder) {
  TheFolder().started = true;
  TheFolder().folder = folder;
}

std::string FolderOfPath(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos || separator == 0) return {};
  return path.substr(0, separator);
}
