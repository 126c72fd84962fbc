#include "tools/vorn-render/preset_file.h"

#include <cstring>
#include <utility>

#include "plugin/fx_file_layout.h"

namespace render {
namespace {

// The layout the plug-in frame writes, as sizes for the arithmetic here.
constexpr std::size_t kKindOffset = fxfile::kKindOffset;
constexpr std::size_t kPluginIdOffset = fxfile::kPluginIdOffset;
constexpr std::size_t kCountOffset = fxfile::kCountOffset;
constexpr std::size_t kCurrentProgramOffset = fxfile::kCurrentProgramOffset;
constexpr std::size_t kProgramNameOffset = fxfile::kProgramNameOffset;
constexpr std::size_t kProgramNameSize = fxfile::kProgramNameSize;
constexpr std::size_t kProgramHeaderSize = fxfile::kProgramHeaderSize;  // FXP values or chunk size start here
constexpr std::size_t kBankHeaderSize = fxfile::kBankHeaderSize;        // FXB programs or chunk size start here
constexpr std::size_t kChunkSizeField = fxfile::kProgramChunkDataOffset - fxfile::kProgramChunkSizeOffset;
// No plug-in has anywhere near this many parameters; the limit keeps a
// corrupt count from asking for gigabytes.
constexpr std::uint32_t kMaxParameters = 65536;
constexpr std::uint32_t kMaxPrograms = 65536;

std::uint32_t BigEndian32(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

float BigEndianFloat(const unsigned char* p) {
  const std::uint32_t bits = BigEndian32(p);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool HasTag(const unsigned char* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// The name field may fill all 28 bytes without a terminator.
std::string ReadName(const unsigned char* p) {
  std::size_t length = 0;
  while (length < kProgramNameSize && p[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(p), length);
}

// Reads one "FxCk" program record at data[0 .. size); answers its length.
std::size_t ReadParameterProgram(const unsigned char* data, std::size_t size, PresetProgram& program,
                                 std::string& error) {
  if (size < kProgramHeaderSize || !HasTag(data, "CcnK") || !HasTag(data + kKindOffset, "FxCk")) {
    error = "a program record is not an \"FxCk\" record";
    return 0;
  }
  const std::uint32_t count = BigEndian32(data + kCountOffset);
  if (count > kMaxParameters || count * std::size_t{4} > size - kProgramHeaderSize) {
    error = "a program record declares " + std::to_string(count) + " values but the file ends before them";
    return 0;
  }
  program.name = ReadName(data + kProgramNameOffset);
  program.values.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) program.values[i] = BigEndianFloat(data + kProgramHeaderSize + 4 * i);
  return kProgramHeaderSize + count * std::size_t{4};
}

bool ReadChunk(const unsigned char* data, std::size_t size, std::size_t at, PresetFile& file, std::string& error) {
  if (size < at + kChunkSizeField) {
    error = "the file ends before its chunk size";
    return false;
  }
  const std::uint32_t length = BigEndian32(data + at);
  const std::size_t begin = at + kChunkSizeField;
  if (length > size - begin) {
    error =
        "the chunk declares " + std::to_string(length) + " bytes but only " + std::to_string(size - begin) + " follow";
    return false;
  }
  file.chunk.assign(data + begin, data + begin + length);
  return true;
}

}  // namespace

PresetReadResult ReadPresetFile(const unsigned char* data, std::size_t size) {
  PresetReadResult result;
  PresetFile& file = result.file;
  if (size < kProgramHeaderSize || !HasTag(data, "CcnK")) {
    result.error = "not a program or bank file (no \"CcnK\" header)";
    return result;
  }
  file.pluginId = static_cast<std::int32_t>(BigEndian32(data + kPluginIdOffset));
  const unsigned char* kind = data + kKindOffset;
  if (HasTag(kind, "FxCk")) {
    file.kind = PresetKind::kProgramParameters;
    file.programs.emplace_back();
    result.ok = ReadParameterProgram(data, size, file.programs.back(), result.error) > 0;
    return result;
  }
  if (HasTag(kind, "FPCh")) {
    file.kind = PresetKind::kProgramChunk;
    file.programs.push_back({ReadName(data + kProgramNameOffset), {}});
    result.ok = ReadChunk(data, size, kProgramHeaderSize, file, result.error);
    return result;
  }
  if (!HasTag(kind, "FxBk") && !HasTag(kind, "FBCh")) {
    result.error = "unknown file kind \"" + std::string(reinterpret_cast<const char*>(kind), 4) + "\"";
    return result;
  }
  if (size < kBankHeaderSize) {
    result.error = "the bank header is truncated";
    return result;
  }
  file.currentProgram = static_cast<std::int32_t>(BigEndian32(data + kCurrentProgramOffset));
  if (HasTag(kind, "FBCh")) {
    file.kind = PresetKind::kBankChunk;
    result.ok = ReadChunk(data, size, kBankHeaderSize, file, result.error);
    return result;
  }
  file.kind = PresetKind::kBankParameters;
  const std::uint32_t count = BigEndian32(data + kCountOffset);
  if (count > kMaxPrograms) {
    result.error = "the bank declares " + std::to_string(count) + " programs";
    return result;
  }
  std::size_t pos = kBankHeaderSize;
  for (std::uint32_t i = 0; i < count; ++i) {
    PresetProgram program;
    const std::size_t length = ReadParameterProgram(data + pos, size - pos, program, result.error);
    if (length == 0) {
      result.error = "program " + std::to_string(i) + ": " + result.error;
      return result;
    }
    file.programs.push_back(std::move(program));
    pos += length;
  }
  result.ok = true;
  return result;
}

}  // namespace render
