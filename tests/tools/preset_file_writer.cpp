#include "tests/tools/preset_file_writer.h"

#include <algorithm>
#include <cstring>

#include "plugin/fx_file_layout.h"

namespace tooltest {
namespace {

constexpr std::size_t kProgramNameSize = fxfile::kProgramNameSize;
constexpr std::size_t kBankHeaderSize = fxfile::kBankHeaderSize;

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void PutFloat(Bytes& out, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutBigEndian(out, bits);
}

Bytes Header(const char* kind, std::int32_t pluginId, std::uint32_t version) {
  Bytes file;
  PutTag(file, "CcnK");
  PutBigEndian(file, 0);
  PutTag(file, kind);
  PutBigEndian(file, version);
  PutBigEndian(file, static_cast<std::uint32_t>(pluginId));
  PutBigEndian(file, 1);  // plug-in version
  return file;
}

Bytes ProgramHeader(const char* kind, std::int32_t pluginId, std::uint32_t count, const char* name) {
  Bytes file = Header(kind, pluginId, 1);
  PutBigEndian(file, count);
  char field[kProgramNameSize] = {};
  std::memcpy(field, name, std::min(std::strlen(name), sizeof field));
  file.insert(file.end(), field, field + sizeof field);
  return file;
}

Bytes BankHeader(const char* kind, std::int32_t pluginId, std::uint32_t programs, std::uint32_t current) {
  Bytes file = Header(kind, pluginId, 2);
  PutBigEndian(file, programs);
  PutBigEndian(file, current);
  file.resize(kBankHeaderSize, 0);
  return file;
}

void PutChunk(Bytes& file, const Bytes& chunk) {
  PutBigEndian(file, static_cast<std::uint32_t>(chunk.size()));
  file.insert(file.end(), chunk.begin(), chunk.end());
}

}  // namespace

Bytes ParameterProgram(std::int32_t pluginId, const char* name, const std::vector<float>& values) {
  Bytes file = ProgramHeader("FxCk", pluginId, static_cast<std::uint32_t>(values.size()), name);
  for (float v : values) PutFloat(file, v);
  return file;
}

Bytes ChunkProgram(std::int32_t pluginId, const char* name, const Bytes& chunk) {
  Bytes file = ProgramHeader("FPCh", pluginId, 0, name);
  PutChunk(file, chunk);
  return file;
}

Bytes ParameterBank(std::int32_t pluginId, std::uint32_t currentProgram, const std::vector<Bytes>& programs) {
  Bytes file = BankHeader("FxBk", pluginId, static_cast<std::uint32_t>(programs.size()), currentProgram);
  for (const Bytes& program : programs) file.insert(file.end(), program.begin(), program.end());
  return file;
}

Bytes ChunkBank(std::int32_t pluginId, std::uint32_t programCount, std::uint32_t currentProgram, const Bytes& chunk) {
  Bytes file = BankHeader("FBCh", pluginId, programCount, currentProgram);
  PutChunk(file, chunk);
  return file;
}

}  // namespace tooltest
