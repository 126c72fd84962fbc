// The command line of vorn-render.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/vorn-render/wav_writer.h"

namespace render {

constexpr double kDefaultSampleRate = 48000.0;
constexpr std::int32_t kDefaultBlockSize = 512;
constexpr double kDefaultTailSeconds = 2.0;

struct RenderOptions {
  std::string midiPath;
  std::string outputPath;
  std::string pluginPath;
  std::string program;
  std::string programFile;
  std::string bankFile;
  double sampleRate = kDefaultSampleRate;
  std::int32_t blockSize = kDefaultBlockSize;
  double tailSeconds = kDefaultTailSeconds;
  SampleFormat format = SampleFormat::kFloat32;
  bool showInfo = false;
  bool listPrograms = false;
  bool listParameters = false;
  bool quiet = false;
  bool force = false;
  bool help = false;
  bool version = false;

  bool Lists() const { return showInfo || listPrograms || listParameters; }
};

// False with a one-line reason for an unknown option, a missing or malformed
// value, or a value out of range.
bool ParseOptions(int argc, char** argv, RenderOptions& options, std::string& error);
// defaultPlugin: where the tool looks for a plug-in when none is given.
void PrintUsage(std::FILE* out, const std::string& defaultPlugin);

}  // namespace render
