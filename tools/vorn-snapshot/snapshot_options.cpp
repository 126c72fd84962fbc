#include "tools/vorn-snapshot/snapshot_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool ReadValue(const std::string& text, std::pair<int, double>& value) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  char* end = nullptr;
  errno = 0;
  const long index = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + equals || errno != 0 || index < 0 || index > 1000) return false;
  const char* number = text.c_str() + equals + 1;
  const double normalized = std::strtod(number, &end);
  if (end == number || *end != '\0' || !std::isfinite(normalized)) return false;
  value = {static_cast<int>(index), normalized};
  return true;
}

}  // namespace

const char* SnapshotUsage() {
  return "usage: vorn-snapshot -o FILE.png [-p PROGRAM] [--view 1|2] [--set INDEX=VALUE]...\n"
         "Builds Vorn with its editor on a surface without a window, applies the\n"
         "program and values, runs one timer tick and writes the editor's image.\n"
         "  -o, --output FILE      the PNG file to write\n"
         "  -p, --program P        select program P, a number from 0 or a program name\n"
         "      --view V           the editor view to show, 1 or 2\n"
         "      --set I=V          set parameter I to the normalized value V (0..1)\n"
         "  -h, --help             show this text\n";
}

bool ParseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "-h" || name == "--help") {
      options.help = true;
      continue;
    }
    const bool takesValue = name == "-o" || name == "--output" || name == "-p" || name == "--program" ||
                            name == "--view" || name == "--set";
    if (!takesValue) {
      error = "unknown option " + name;
      return false;
    }
    if (i + 1 >= argc) {
      error = name + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    if (name == "-o" || name == "--output") {
      options.output = value;
    } else if (name == "-p" || name == "--program") {
      options.program = value;
    } else if (name == "--view") {
      if (value != "1" && value != "2") {
        error = "--view takes 1 or 2";
        return false;
      }
      options.view = value == "1" ? 1 : 2;
    } else {
      std::pair<int, double> parsed;
      if (!ReadValue(value, parsed)) {
        error = "--set takes INDEX=VALUE, for example 12=0.5";
        return false;
      }
      options.values.push_back(parsed);
    }
  }
  if (!options.help && options.output.empty()) {
    error = "no output file (-o FILE.png)";
    return false;
  }
  return true;
}
