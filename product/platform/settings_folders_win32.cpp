// Known folders come from the shell as UTF-16 and leave as UTF-8, so a user
// name outside the ANSI code page still finds its settings.
#include <windows.h>
#include <shlobj.h>

#include "product/settings/settings_folders.h"

namespace {

std::string Narrow(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], length, nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(length - 1));
  return utf8;
}

bool Widen(const std::string& utf8, std::wstring& wide) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, &wide[0], length) == length;
}

std::string KnownFolder(int id) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return Narrow(path);
}

}  // namespace

std::string UserSettingsBaseFolder() { return KnownFolder(CSIDL_LOCAL_APPDATA); }

std::string UserDocumentsFolder() { return KnownFolder(CSIDL_PERSONAL); }

std::string JoinPath(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

bool MakeFolder(const std::string& folder) {
  std::wstring path;
  if (folder.empty() || !Widen(folder, path)) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return CreateDirectoryW(path.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}
