#include "product/settings/ini_file.h"

#include <cerrno>
#include <cstdio>

#include "plugin/file_replace.h"

IniFileState ReadIniFile(const std::string& path, IniDocument& document) {
  document = IniDocument();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return errno == ENOENT ? IniFileState::kMissing : IniFileState::kUnreadable;
  std::string text;
  char buffer[4096];
  std::size_t count;
  bool tooLarge = false;
  while (!tooLarge && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    tooLarge = text.size() + count > static_cast<std::size_t>(kMaxIniFileSize);
    if (!tooLarge) text.append(buffer, count);
  }
  const bool whole = !tooLarge && std::feof(file) && !std::ferror(file);
  std::fclose(file);
  if (!whole) return IniFileState::kUnreadable;
  document = IniDocument(text);
  return IniFileState::kRead;
}

bool WriteIniFile(const std::string& path, const IniDocument& document) {
  const std::string text = document.Text();
  return WriteFileReplacing(path.c_str(), text.data(), text.size());
}
