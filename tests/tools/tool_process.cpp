#include "tests/tools/tool_process.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tooltest {

std::string Quote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CommandResult RunCommand(const std::string& commandLine) {
  CommandResult result;
  std::FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int status = pclose(pipe);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

namespace {

std::string Soxi(const char* flag, const std::string& path) {
  CommandResult result = RunCommand(std::string("soxi ") + flag + " " + Quote(path));
  while (!result.output.empty() && (result.output.back() == '\n' || result.output.back() == ' '))
    result.output.pop_back();
  return result.exitStatus == 0 ? result.output : std::string();
}

}  // namespace

SoxAudio ReadWithSox(const std::string& path) {
  SoxAudio audio;
  const std::string rate = Soxi("-r", path);
  const std::string channels = Soxi("-c", path);
  const std::string frames = Soxi("-s", path);
  audio.encoding = Soxi("-e", path);
  const std::string bits = Soxi("-b", path);
  if (rate.empty() || channels.empty() || frames.empty() || bits.empty()) return audio;
  audio.rate = std::atoi(rate.c_str());
  audio.channels = std::atoi(channels.c_str());
  audio.frames = std::atoll(frames.c_str());
  audio.bits = std::atoi(bits.c_str());

  const std::string decode = "sox " + Quote(path) + " -t raw -e floating-point -b 32 -L - 2>/dev/null";
  std::FILE* pipe = popen(decode.c_str(), "r");
  if (!pipe) return audio;
  float buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, sizeof(float), 4096, pipe)) > 0)
    audio.samples.insert(audio.samples.end(), buffer, buffer + got);
  audio.ok = pclose(pipe) == 0;
  return audio;
}

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/vorn-tooltest-XXXXXX";
  const char* made = mkdtemp(pattern);
  root_ = made ? made : "/tmp";
}

ScratchFolder::~ScratchFolder() {
  std::error_code code;
  if (root_ != "/tmp") std::filesystem::remove_all(root_, code);
}

std::string ScratchFolder::Path(const std::string& name) const { return root_ + "/" + name; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace tooltest
