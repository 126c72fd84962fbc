#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "product/settings/settings_folders.h"

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid())) home = entry->pw_dir ? entry->pw_dir : "";
  }
  return home;
}

// XDG_DOCUMENTS_DIR="$HOME/Documents" from the user-dirs file, or empty.
std::string ConfiguredDocumentsFolder(const std::string& home) {
  const std::string base = UserSettingsBaseFolder();
  if (base.empty()) return {};
  std::ifstream file(JoinPath(base, "user-dirs.dirs"));
  const std::string key = "XDG_DOCUMENTS_DIR=\"";
  for (std::string line; std::getline(file, line);) {
    if (line.compare(0, key.size(), key) != 0) continue;
    const std::size_t close = line.find('"', key.size());
    if (close == std::string::npos) return {};
    std::string folder = line.substr(key.size(), close - key.size());
    if (folder.compare(0, 5, "$HOME") == 0) folder = home + folder.substr(5);
    // Only absolute folders are meant; "$HOME/" alone means none is configured.
    if (folder.empty() || folder[0] != '/' || folder == home + "/") return {};
    return folder;
  }
  return {};
}

}  // namespace

std::string UserSettingsBaseFolder() {
  const std::string configured = Environment("XDG_CONFIG_HOME");
  if (!configured.empty() && configured[0] == '/') return configured;
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : JoinPath(home, ".config");
}

std::string UserDocumentsFolder() {
  const std::string home = HomeFolder();
  const std::string documents = ConfiguredDocumentsFolder(home);
  return documents.empty() ? home : documents;
}

std::string JoinPath(const std::string& folder, const std::string& name) { return folder + "/" + name; }

bool MakeFolder(const std::string& folder) {
  if (folder.empty()) return false;
  struct stat status {};
  if (stat(folder.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
  const std::size_t parentEnd = folder.find_last_of('/');
  if (parentEnd != std::string::npos && parentEnd > 0) MakeFolder(folder.substr(0, parentEnd));
  return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}
