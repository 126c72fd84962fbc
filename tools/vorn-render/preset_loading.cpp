#include "tools/vorn-render/preset_loading.h"

#include "tools/vorn-render/four_char_text.h"

namespace render {
namespace {

constexpr std::int32_t kChunkIndexBank = 0;
constexpr std::int32_t kChunkIndexProgram = 1;

bool SetParameters(PluginHost& host, PresetProgram& program, std::string& error) {
  const vst2::AEffect& effect = host.Effect();
  if (program.values.size() != static_cast<std::size_t>(effect.numParams)) {
    error = "the file holds " + std::to_string(program.values.size()) + " values but the plug-in has " +
            std::to_string(effect.numParams) + " parameters";
    return false;
  }
  if (!effect.setParameter) {
    error = "the plug-in has no setParameter callback";
    return false;
  }
  for (std::size_t i = 0; i < program.values.size(); ++i)
    effect.setParameter(const_cast<vst2::AEffect*>(&effect), static_cast<std::int32_t>(i), program.values[i]);
  if (!program.name.empty()) host.Dispatch(vst2::effSetProgramName, 0, 0, program.name.data());
  return true;
}

bool SetChunk(PluginHost& host, PresetFile& file, std::int32_t index, std::string& error) {
  if (!(host.Effect().flags & vst2::effFlagsProgramChunks)) {
    error = "the file holds a chunk but the plug-in does not take chunks";
    return false;
  }
  if (host.Dispatch(vst2::effSetChunk, index, static_cast<vst2::IntPtr>(file.chunk.size()), file.chunk.data()) == 0) {
    error = std::string("the plug-in refused the ") + (index == kChunkIndexBank ? "bank" : "program") + " chunk";
    return false;
  }
  return true;
}

}  // namespace

bool LoadPresetIntoPlugin(PluginHost& host, PresetFile& file, std::string& description, std::string& error) {
  const vst2::AEffect& effect = host.Effect();
  if (file.pluginId != effect.uniqueID) {
    error = "the file was made for plug-in " + FourCharText(file.pluginId) + ", this plug-in is " +
            FourCharText(effect.uniqueID);
    return false;
  }
  switch (file.kind) {
    case PresetKind::kProgramChunk:
      if (!SetChunk(host, file, kChunkIndexProgram, error)) return false;
      description = "program chunk of " + std::to_string(file.chunk.size()) + " bytes";
      return true;
    case PresetKind::kBankChunk:
      if (!SetChunk(host, file, kChunkIndexBank, error)) return false;
      description = "bank chunk of " + std::to_string(file.chunk.size()) + " bytes";
      return true;
    case PresetKind::kProgramParameters:
      if (!SetParameters(host, file.programs.front(), error)) return false;
      description = "program \"" + file.programs.front().name + "\" as parameter values";
      return true;
    case PresetKind::kBankParameters: break;
  }
  if (file.programs.size() > static_cast<std::size_t>(effect.numPrograms)) {
    error = "the bank holds " + std::to_string(file.programs.size()) + " programs but the plug-in has " +
            std::to_string(effect.numPrograms);
    return false;
  }
  for (std::size_t i = 0; i < file.programs.size(); ++i) {
    host.Dispatch(vst2::effSetProgram, 0, static_cast<vst2::IntPtr>(i));
    if (!SetParameters(host, file.programs[i], error)) {
      error = "program " + std::to_string(i) + ": " + error;
      return false;
    }
  }
  const bool currentValid = file.currentProgram >= 0 && file.currentProgram < effect.numPrograms;
  host.Dispatch(vst2::effSetProgram, 0, currentValid ? file.currentProgram : 0);
  description = "bank of " + std::to_string(file.programs.size()) + " programs as parameter values";
  return true;
}

}  // namespace render
