#include "tools/vorn-render/plugin_listing.h"

#include <cctype>
#include <cstdlib>

#include "tools/vorn-render/four_char_text.h"

namespace render {
namespace {

struct FlagName {
  std::int32_t flag;
  const char* name;
};

constexpr FlagName kFlagNames[] = {
    {vst2::effFlagsHasEditor, "hasEditor"},
    {vst2::effFlagsCanMono, "canMono"},
    {vst2::effFlagsCanReplacing, "canReplacing"},
    {vst2::effFlagsProgramChunks, "programChunks"},
    {vst2::effFlagsIsSynth, "isSynth"},
    {vst2::effFlagsNoSoundInStop, "noSoundInStop"},
    {vst2::effFlagsCanDoubleReplacing, "canDoubleReplacing"},
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

void PrintEffectRecord(PluginHost& host, std::FILE* out) {
  const vst2::AEffect& e = host.Effect();
  std::string flags;
  for (const FlagName& flag : kFlagNames) {
    if (e.flags & flag.flag) flags += (flags.empty() ? "" : " ") + std::string(flag.name);
  }
  std::fprintf(out, "effect name      %s\n", host.Text(vst2::effGetEffectName).c_str());
  std::fprintf(out, "vendor           %s\n", host.Text(vst2::effGetVendorString).c_str());
  std::fprintf(out, "product          %s\n", host.Text(vst2::effGetProductString).c_str());
  std::fprintf(out, "vendor version   %lld\n", static_cast<long long>(host.Dispatch(vst2::effGetVendorVersion)));
  std::fprintf(out, "VST version      %lld\n", static_cast<long long>(host.Dispatch(vst2::effGetVstVersion)));
  std::fprintf(out, "category         %lld\n", static_cast<long long>(host.Dispatch(vst2::effGetPlugCategory)));
  std::fprintf(out, "magic            %s\n", FourCharText(e.magic).c_str());
  std::fprintf(out, "unique ID        %s (0x%08X)\n", FourCharText(e.uniqueID).c_str(),
               static_cast<unsigned>(e.uniqueID));
  std::fprintf(out, "version          %d\n", e.version);
  std::fprintf(out, "programs         %d\n", e.numPrograms);
  std::fprintf(out, "parameters       %d\n", e.numParams);
  std::fprintf(out, "inputs           %d\n", e.numInputs);
  std::fprintf(out, "outputs          %d\n", e.numOutputs);
  std::fprintf(out, "flags            0x%X (%s)\n", static_cast<unsigned>(e.flags), flags.c_str());
  std::fprintf(out, "initial delay    %d\n", e.initialDelay);
  std::fprintf(out, "io ratio         %g\n", static_cast<double>(e.ioRatio));
  std::fprintf(out, "callbacks        process %s, processReplacing %s, processDoubleReplacing %s\n",
               e.process ? "yes" : "no", e.processReplacing ? "yes" : "no", e.processDoubleReplacing ? "yes" : "no");
}

std::string ProgramName(PluginHost& host, std::int32_t index) {
  return host.Text(vst2::effGetProgramNameIndexed, index);
}

void PrintPrograms(PluginHost& host, std::FILE* out) {
  const std::int32_t current = static_cast<std::int32_t>(host.Dispatch(vst2::effGetProgram));
  for (std::int32_t i = 0; i < host.Effect().numPrograms; ++i)
    std::fprintf(out, "%c%3d  %s\n", i == current ? '*' : ' ', i, ProgramName(host, i).c_str());
}

void PrintParameters(PluginHost& host, std::FILE* out) {
  const vst2::AEffect& e = host.Effect();
  std::fprintf(out, "%4s  %-24s %-16s %-8s %s\n", "#", "name", "display", "label", "value");
  for (std::int32_t i = 0; i < e.numParams; ++i) {
    const float value = e.getParameter ? e.getParameter(const_cast<vst2::AEffect*>(&e), i) : 0.0f;
    std::fprintf(out, "%4d  %-24s %-16s %-8s %.4f\n", i, host.Text(vst2::effGetParamName, i).c_str(),
                 host.Text(vst2::effGetParamDisplay, i).c_str(), host.Text(vst2::effGetParamLabel, i).c_str(),
                 static_cast<double>(value));
  }
}

std::int32_t FindProgram(PluginHost& host, const std::string& wanted, std::string& error) {
  const std::int32_t count = host.Effect().numPrograms;
  if (IsNumber(wanted)) {
    const long number = wanted.size() > 9 ? -1 : std::strtol(wanted.c_str(), nullptr, 10);
    if (number >= 0 && number < count) return static_cast<std::int32_t>(number);
    error = "program " + wanted + " does not exist; the plug-in has programs 0 to " + std::to_string(count - 1);
    return -1;
  }
  std::int32_t caseless = -1;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::string name = ProgramName(host, i);
    if (name == wanted) return i;
    if (caseless < 0 && Lower(name) == Lower(wanted)) caseless = i;
  }
  if (caseless < 0) error = "the plug-in has no program named \"" + wanted + "\" (see --list-programs)";
  return caseless;
}

}  // namespace render
