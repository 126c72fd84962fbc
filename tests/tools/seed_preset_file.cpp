// seed_preset_file DIR: writes a seed corpus for fuzz_preset_file, one file
// of each form hosts write, made by our own writer.
#include <cstdio>
#include <string>

#include "tests/tools/preset_file_writer.h"

namespace {

bool Save(const std::string& folder, const char* name, const tooltest::Bytes& bytes) {
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  const bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file && std::fclose(file) != 0) return false;
  if (!ok) std::fprintf(stderr, "seed_preset_file: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_preset_file DIR\n");
    return 1;
  }
  const std::string folder = argv[1];
  constexpr std::int32_t kId = 0x766F726E;  // 'vorn'
  const tooltest::Bytes chunk = {'t', 'f', 'f', 'p', 0, 0, 1, 0, 'V', 'o', 'r', 'n'};
  const tooltest::Bytes first = tooltest::ParameterProgram(kId, "First", {0.0f, 0.25f, 0.5f, 1.0f});
  const tooltest::Bytes second = tooltest::ParameterProgram(kId, "A name of exactly 28 letters", {0.1f, 0.9f});
  const bool ok = Save(folder, "params.fxp", first) &&
                  Save(folder, "chunk.fxp", tooltest::ChunkProgram(kId, "Chunk", chunk)) &&
                  Save(folder, "params.fxb", tooltest::ParameterBank(kId, 1, {first, second})) &&
                  Save(folder, "chunk.fxb", tooltest::ChunkBank(kId, 64, 3, chunk));
  return ok ? 0 : 1;
}
