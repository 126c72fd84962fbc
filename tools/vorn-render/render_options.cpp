#include "tools/vorn-render/render_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace render {
namespace {

constexpr double kMinSampleRate = 8000.0;
constexpr double kMaxSampleRate = 384000.0;
constexpr long kMinBlockSize = 1;
constexpr long kMaxBlockSize = 8192;
constexpr double kMaxTailSeconds = 600.0;

constexpr const char* kUsage =
    "Usage: vorn-render [options] SONG.mid\n"
    "       vorn-render [options] --info | --list-programs | --list-params\n"
    "\n"
    "Plays a Standard MIDI File (format 0 or 1) through a VST 2 instrument and\n"
    "writes what it plays to a WAV file.\n"
    "Without --plugin it loads %s.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE      WAV file to write (default: SONG with .wav)\n"
    "  -f, --force            replace FILE if it exists\n"
    "  -P, --plugin LIBRARY   the VST 2 plug-in library to load\n"
    "  -p, --program P        select program P, a number from 0 or a program name\n"
    "      --fxp FILE         load a program file (.fxp) into the current program\n"
    "      --fxb FILE         load a bank file (.fxb); --program then picks from it\n"
    "  -r, --rate HZ          sample rate, 8000 to 384000 (default 48000)\n"
    "  -b, --block FRAMES     block size, 1 to 8192 (default 512)\n"
    "  -t, --tail SECONDS     release tail after the song's end, 0 to 600 (default 2)\n"
    "      --format F         float (32-bit, default), pcm16 or pcm24\n"
    "      --info             print the plug-in's effect record\n"
    "      --list-programs    print the plug-in's programs (* marks the current one)\n"
    "      --list-params      print the plug-in's parameters: name, display, label\n"
    "  -q, --quiet            no progress bar and no summary\n"
    "  -h, --help             print this text\n"
    "      --version          print the version\n"
    "\n"
    "The listing options show the plug-in after --fxb, --program and --fxp are\n"
    "applied; with a SONG they are printed before rendering.\n"
    "Exit status: 0 on success, 1 on any error.\n";

struct Option {
  const char* shortName;
  const char* longName;
  bool takesValue;
};

constexpr Option kOptions[] = {
    {"-o", "--output", true},
    {"-f", "--force", false},
    {"-P", "--plugin", true},
    {"-p", "--program", true},
    {nullptr, "--fxp", true},
    {nullptr, "--fxb", true},
    {"-r", "--rate", true},
    {"-b", "--block", true},
    {"-t", "--tail", true},
    {nullptr, "--format", true},
    {nullptr, "--info", false},
    {nullptr, "--list-programs", false},
    {nullptr, "--list-params", false},
    {"-q", "--quiet", false},
    {"-h", "--help", false},
    {nullptr, "--version", false},
};

bool ParseNumber(const std::string& text, double low, double high, double& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(parsed >= low && parsed <= high)) return false;
  value = parsed;
  return true;
}

bool Apply(const Option& option, const std::string& value, RenderOptions& options, std::string& error) {
  const std::string name = option.longName;
  double number = 0.0;
  if (name == "--output")
    options.outputPath = value;
  else if (name == "--force")
    options.force = true;
  else if (name == "--plugin")
    options.pluginPath = value;
  else if (name == "--program")
    options.program = value;
  else if (name == "--fxp")
    options.programFile = value;
  else if (name == "--fxb")
    options.bankFile = value;
  else if (name == "--info")
    options.showInfo = true;
  else if (name == "--list-programs")
    options.listPrograms = true;
  else if (name == "--list-params")
    options.listParameters = true;
  else if (name == "--quiet")
    options.quiet = true;
  else if (name == "--help")
    options.help = true;
  else if (name == "--version")
    options.version = true;
  else if (name == "--rate") {
    if (!ParseNumber(value, kMinSampleRate, kMaxSampleRate, number) || number != static_cast<long>(number)) {
      error = "--rate wants a whole number of Hz from 8000 to 384000, not \"" + value + "\"";
      return false;
    }
    options.sampleRate = number;
  } else if (name == "--block") {
    if (!ParseNumber(value, kMinBlockSize, kMaxBlockSize, number) || number != static_cast<long>(number)) {
      error = "--block wants a whole number of frames from 1 to 8192, not \"" + value + "\"";
      return false;
    }
    options.blockSize = static_cast<std::int32_t>(number);
  } else if (name == "--tail") {
    if (!ParseNumber(value, 0.0, kMaxTailSeconds, number)) {
      error = "--tail wants seconds from 0 to 600, not \"" + value + "\"";
      return false;
    }
    options.tailSeconds = number;
  } else if (name == "--format") {
    if (value == "float")
      options.format = SampleFormat::kFloat32;
    else if (value == "pcm16")
      options.format = SampleFormat::kPcm16;
    else if (value == "pcm24")
      options.format = SampleFormat::kPcm24;
    else {
      error = "--format wants float, pcm16 or pcm24, not \"" + value + "\"";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseOptions(int argc, char** argv, RenderOptions& options, std::string& error) {
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (onlyFiles || argument == "-" || argument.empty() || argument[0] != '-') {
      if (!options.midiPath.empty()) {
        error = "more than one song given: \"" + options.midiPath + "\" and \"" + argument + "\"";
        return false;
      }
      options.midiPath = argument;
      continue;
    }
    if (argument == "--") {
      onlyFiles = true;
      continue;
    }
    std::string inlineValue;
    bool hasInlineValue = false;
    const std::size_t equals = argument.find('=');
    if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      inlineValue = argument.substr(equals + 1);
      argument.resize(equals);
      hasInlineValue = true;
    }
    const Option* match = nullptr;
    for (const Option& option : kOptions) {
      if (argument == option.longName || (option.shortName && argument == option.shortName)) match = &option;
    }
    if (!match) {
      error = "unknown option " + argument + " (see --help)";
      return false;
    }
    if (match->takesValue && !hasInlineValue) {
      if (i + 1 >= argc) {
        error = argument + " needs a value";
        return false;
      }
      inlineValue = argv[++i];
    } else if (!match->takesValue && hasInlineValue) {
      error = argument + " takes no value";
      return false;
    }
    if (!Apply(*match, inlineValue, options, error)) return false;
  }
  return true;
}

void PrintUsage(std::FILE* out, const std::string& defaultPlugin) { std::fprintf(out, kUsage, defaultPlugin.c_str()); }

}  // namespace render
