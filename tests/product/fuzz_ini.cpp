// Feeds any bytes to the INI reader, then edits and rewrites the document: a
// rewritten file must read back the values that were set, and rewriting it
// again must not change it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "product/settings/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  IniDocument document(text);
  std::string value;
  document.Find("Startup Bank", "File", value);
  document.Find("MIDI Control", "CC7", value);
  document.ClearSection("Startup Bank");
  document.Set("Startup Bank", "File", "bank.fxb");
  document.Set("MIDI Global", "MIDI Thru", "true");
  const std::string written = document.Text();
  const IniDocument reread(written);
  if (reread.Text() != written) std::abort();
  if (!reread.Find("startup bank", "file", value) || value != "bank.fxb") std::abort();
  if (!reread.Find("midi global", "midi thru", value) || value != "true") std::abort();
  return 0;
}
