// vorn-render: a command-line VST 2 host that plays a MIDI file through an
// instrument plug-in into a WAV file. See render_options.cpp for the options.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/vorn-render/event_schedule.h"
#include "tools/vorn-render/file_bytes.h"
#include "tools/vorn-render/host_system.h"
#include "tools/vorn-render/midi_file.h"
#include "tools/vorn-render/plugin_host.h"
#include "tools/vorn-render/plugin_library.h"
#include "tools/vorn-render/plugin_listing.h"
#include "tools/vorn-render/preset_file.h"
#include "tools/vorn-render/preset_loading.h"
#include "tools/vorn-render/progress_bar.h"
#include "tools/vorn-render/render_options.h"
#include "tools/vorn-render/song_renderer.h"
#include "tools/vorn-render/tempo_map.h"
#include "tools/vorn-render/wav_writer.h"
#include "vorn_version.h"

namespace fs = std::filesystem;

namespace render {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr std::size_t kMaxMidiFileBytes = std::size_t{16} << 20;
constexpr std::size_t kMaxPresetFileBytes = std::size_t{64} << 20;

int Fail(const std::string& message) {
  std::fprintf(stderr, "vorn-render: %s\n", message.c_str());
  return kExitFailure;
}

std::string DefaultPluginPath() {
  const std::string beside = ExecutableDirectory();
  const fs::path besideTool = fs::path(beside.empty() ? "." : beside) / kDefaultPluginFileName;
  std::error_code code;
  if (fs::exists(besideTool, code)) return besideTool.string();
  const fs::path built = VORN_RENDER_BUILT_PLUGIN;
  if (!built.empty() && fs::exists(built, code)) return built.string();
  return besideTool.string();
}

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code code;
  return !a.empty() && !b.empty() && fs::equivalent(a, b, code);
}

bool ReadSong(const std::string& path, MidiSong& song, std::string& error) {
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, kMaxMidiFileBytes, bytes, error)) return false;
  MidiReadResult result = ReadMidiFile(bytes.data(), bytes.size());
  if (!result.ok) {
    error = path + " is not a MIDI file we can play: " + result.error;
    return false;
  }
  song = std::move(result.song);
  return true;
}

bool ReadPreset(const std::string& path, PresetFile& preset, std::string& error) {
  std::vector<unsigned char> bytes;
  if (!ReadFileBytes(path, kMaxPresetFileBytes, bytes, error)) return false;
  PresetReadResult result = ReadPresetFile(bytes.data(), bytes.size());
  if (!result.ok) {
    error = path + ": " + result.error;
    return false;
  }
  preset = std::move(result.file);
  return true;
}

bool ApplyPreset(PluginHost& host, const std::string& path, PresetFile& preset, bool quiet, std::string& error) {
  std::string description;
  if (!LoadPresetIntoPlugin(host, preset, description, error)) {
    error = path + ": " + error;
    return false;
  }
  if (!quiet) std::fprintf(stderr, "loaded %s: %s\n", path.c_str(), description.c_str());
  return true;
}

std::string FormatName(SampleFormat format) {
  switch (format) {
    case SampleFormat::kPcm16: return "16-bit PCM";
    case SampleFormat::kPcm24: return "24-bit PCM";
    case SampleFormat::kFloat32: break;
  }
  return "32-bit float";
}

std::string Decibels(double level) {
  char text[32];
  const double db = ToDecibels(level);
  if (std::isinf(db)) return "-inf dBFS";
  std::snprintf(text, sizeof text, "%.1f dBFS", db);
  return text;
}

int Run(const RenderOptions& options) {
  std::string error;
  const bool render = !options.midiPath.empty();
  const std::string output = !options.outputPath.empty() || !render
                                 ? options.outputPath
                                 : fs::path(options.midiPath).replace_extension(".wav").string();

  // Everything that can be checked without the plug-in is checked first.
  MidiSong song;
  if (render && !ReadSong(options.midiPath, song, error)) return Fail(error);
  PresetFile bank;
  PresetFile program;
  if (!options.bankFile.empty() && !ReadPreset(options.bankFile, bank, error)) return Fail(error);
  if (!options.programFile.empty() && !ReadPreset(options.programFile, program, error)) return Fail(error);
  const std::string pluginPath = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  if (render) {
    for (const std::string& input : {options.midiPath, pluginPath, options.bankFile, options.programFile}) {
      if (SamePath(output, input)) return Fail("the output " + output + " is one of the input files");
    }
    std::error_code code;
    if (fs::exists(output, code) && !options.force) return Fail(output + " exists; use --force to replace it");
  }

  std::unique_ptr<PluginLibrary> library = PluginLibrary::Open(pluginPath, error);
  if (!library) return Fail(error);
  const vst2::EntryPoint entry = library->FindEntryPoint();
  if (!entry) return Fail(pluginPath + " exports neither VSTPluginMain nor main; it is not a VST 2 plug-in");
  std::unique_ptr<PluginHost> host = PluginHost::Create(entry, options.sampleRate, options.blockSize, error);
  if (!host) return Fail(pluginPath + ": " + error);
  host->Open();

  if (!options.bankFile.empty() && !ApplyPreset(*host, options.bankFile, bank, options.quiet, error))
    return Fail(error);
  if (!options.program.empty()) {
    const std::int32_t index = FindProgram(*host, options.program, error);
    if (index < 0) return Fail(error);
    host->Dispatch(vst2::effSetProgram, 0, index);
  }
  if (!options.programFile.empty() && !ApplyPreset(*host, options.programFile, program, options.quiet, error))
    return Fail(error);

  if (options.showInfo) PrintEffectRecord(*host, stdout);
  if (options.listPrograms) PrintPrograms(*host, stdout);
  if (options.listParameters) PrintParameters(*host, stdout);
  if (!render) return kExitSuccess;

  const TempoMap tempoMap(song);
  EventSchedule schedule(song, tempoMap, options.sampleRate, options.blockSize);
  const std::int64_t totalFrames = schedule.EndFrame() + SecondsToFrames(options.tailSeconds, options.sampleRate);
  const int channels = host->Effect().numOutputs;
  if (static_cast<std::uint64_t>(totalFrames) > WavWriter::MaxFrames(channels, options.format)) {
    return Fail("the song lasts " + std::to_string(totalFrames / options.sampleRate / 3600.0) +
                " hours, more than a WAV file of this shape can hold");
  }
  if (totalFrames == 0) return Fail(options.midiPath + " holds nothing to play and no tail was asked for");

  WavWriter writer;
  if (!writer.Open(output, channels, static_cast<int>(options.sampleRate), options.format, options.blockSize, error))
    return Fail(error);
  ProgressBar progress(stderr, !options.quiet && StderrIsTerminal());
  const RenderResult result =
      RenderSong(*host, schedule, tempoMap, options.sampleRate, options.blockSize, totalFrames, writer, progress);
  if (result.writeFailed) return Fail("cannot write " + output + " (disk full?)");
  if (!writer.Commit(error)) return Fail(error);

  if (writer.NonFiniteSamples() > 0)
    std::fprintf(stderr, "vorn-render: warning: the plug-in produced %llu NaN or infinite samples, written as 0\n",
                 static_cast<unsigned long long>(writer.NonFiniteSamples()));
  if (writer.ClippedSamples() > 0)
    std::fprintf(stderr, "vorn-render: warning: %llu samples were clipped to full scale\n",
                 static_cast<unsigned long long>(writer.ClippedSamples()));
  if (!options.quiet) {
    const double seconds = static_cast<double>(result.frames) / options.sampleRate;
    const double speed = result.cpuSeconds > 0.0 ? seconds / result.cpuSeconds : 0.0;
    std::printf("%s: %.2f s, %d Hz, %d ch, %s; peak %s, RMS %s; %.1fx realtime\n", output.c_str(), seconds,
                static_cast<int>(options.sampleRate), channels, FormatName(options.format).c_str(),
                Decibels(result.meter.Peak()).c_str(), Decibels(result.meter.Rms()).c_str(), speed);
  }
  return kExitSuccess;
}

}  // namespace
}  // namespace render

int main(int argc, char** argv) {
  render::RenderOptions options;
  std::string error;
  if (!render::ParseOptions(argc, argv, options, error)) return render::Fail(error);
  if (options.help) {
    render::PrintUsage(stdout, render::kDefaultPluginFileName + std::string(" beside vorn-render"));
    return render::kExitSuccess;
  }
  if (options.version) {
    std::printf("vorn-render %s\n", kVornVersionText);
    return render::kExitSuccess;
  }
  if (options.midiPath.empty() && !options.Lists()) {
    render::PrintUsage(stderr, render::kDefaultPluginFileName + std::string(" beside vorn-render"));
    return render::kExitFailure;
  }
  return render::Run(options);
}
