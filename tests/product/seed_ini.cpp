// Writes a seed corpus for fuzz_ini with our own INI writer.
#include <cstdio>
#include <string>

#include "product/settings/ini_document.h"

namespace {

void WriteSeed(const std::string& folder, const char* name, const std::string& text) {
  std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  IniDocument settings;
  settings.ClearSection("Startup Bank");
  settings.Set("Startup Bank", "File", "C:\\Users\\me\\Banks\\Vorn.fxb");
  settings.Set("Global", "Path to Program Files", "/home/me/Documents");
  settings.Set("MIDI Global", "MIDI Thru", "false");
  settings.Set("MIDI Global", "Ignore Program Change", "true");
  settings.ClearSection("MIDI Control");
  for (int controller = 0; controller < 120; controller += 7) {
    settings.Set("MIDI Control", "CC" + std::to_string(controller), std::to_string(controller % 32));
  }
  WriteSeed(folder, "settings_crlf.ini", settings.Text());
  WriteSeed(folder, "settings_lf_bom.ini", "\xEF\xBB\xBF" + IniDocument("[A]\nK=1\n").Text());
  WriteSeed(folder, "empty.ini", IniDocument().Text());
  return 0;
}
