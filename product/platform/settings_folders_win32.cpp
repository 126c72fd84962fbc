#include <windows.h>
#include <shlobj.h>

#include "product/settings/settings_folders.h"

namespace {

std::string KnownFolder(int id) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

}  // namespace

std::string UserSettingsBaseFolder() { return KnownFolder(CSIDL_LOCAL_APPDATA); }

std::string UserDocumentsFolder() { return KnownFolder(CSIDL_PERSONAL); }

std::string JoinPath(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

bool MakeFolder(const std::string& folder) {
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return CreateDirectoryA(folder.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}
