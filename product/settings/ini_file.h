// Reading and writing a whole INI file. A write replaces the file atomically
// (a temporary file beside it, renamed over it once complete), so a failed
// write leaves the old file as it was.
#pragma once

#include <string>

#include "product/settings/ini_document.h"

enum class IniFileState {
  kRead,        // the document holds the file
  kMissing,     // there is no file; the document is empty
  kUnreadable,  // there is a file, but it could not be read whole; the document is empty
};

IniFileState ReadIniFile(const std::string& path, IniDocument& document);
bool WriteIniFile(const std::string& path, const IniDocument& document);

// Settings files are small; a larger file is not a settings file of ours and
// is neither read nor overwritten.
constexpr long kMaxIniFileSize = 1L << 20;
