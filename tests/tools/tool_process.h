// Helpers for tests that run programs: a command's exit status and output,
// a WAV file as sox (an independent reader) sees it, and scratch folders.
#pragma once

#include <string>
#include <vector>

namespace tooltest {

struct CommandResult {
  int exitStatus = -1;
  std::string output;  // stdout and stderr together
};

// Runs a shell command line; arguments must be quoted by the caller (Quote).
CommandResult RunCommand(const std::string& commandLine);
std::string Quote(const std::string& argument);

struct SoxAudio {
  bool ok = false;
  int rate = 0;
  int channels = 0;
  long long frames = 0;
  std::string encoding;        // soxi -e
  int bits = 0;                // soxi -b
  std::vector<float> samples;  // interleaved, as sox decodes them
};

SoxAudio ReadWithSox(const std::string& path);

// A fresh, empty folder for one test, removed by the destructor.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::string Path(const std::string& name) const;

 private:
  std::string root_;
};

std::string ReadText(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace tooltest
