// Program (FXP) and bank (FXB) files, written and read through memory.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/bounded_file.h"
#include "plugin/file_replace.h"
#include "plugin/fx_file_layout.h"
#include "plugin/plugin_base.h"
#include "plugin/text_copy.h"

namespace {

using namespace fxfile;

void PutBigEndian(ByteChunk& file, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
                                 static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
  file.PutBytes(bytes, 4);
}

bool GetBigEndian(const ByteChunk& file, int offset, std::int32_t& value) {
  if (offset < 0 || offset + 4 > file.Size()) return false;
  const std::uint8_t* p = file.Data() + offset;
  value =
      static_cast<std::int32_t>((static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
                                (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]));
  return true;
}

bool GetBigEndianFloat(const ByteChunk& file, int offset, float& value) {
  std::int32_t bits = 0;
  if (!GetBigEndian(file, offset, bits)) return false;
  std::memcpy(&value, &bits, sizeof value);
  return true;
}

// The fields both files open with, up to the parameter or program count;
// the byte size is the whole file's size.
void PutFileHeaderStart(ByteChunk& file, std::int32_t kind, std::int32_t formatVersion, std::int32_t pluginId,
                        std::int32_t pluginVersion, std::int32_t count, std::int32_t fileSize) {
  file.Clear();
  for (std::int32_t field : {kFileMagic, fileSize, kind, formatVersion, pluginId, pluginVersion, count}) {
    PutBigEndian(file, field);
  }
}

// The name field holds at most 27 characters and always a terminator.
void PutProgramName(ByteChunk& file, const char* name) {
  char field[kProgramNameSize] = {};
  CopyTruncated(field, name, kProgramNameSize);
  file.PutBytes(field, kProgramNameSize);
}

// Reads up to 28 bytes, stopping at the first zero byte.
std::string GetProgramName(const ByteChunk& file, int offset) {
  const char* field = reinterpret_cast<const char*>(file.Data() + offset);
  return std::string(field, strnlen(field, kProgramNameSize));
}

// A normalised value read from a file is clamped, since files come from anywhere.
double SafeNormalized(float value) {
  return std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), 0.0, 1.0);
}

// Files larger than any chunk Vorn reads are refused before they are read whole.
bool ReadFile(const char* path, ByteChunk& file) {
  std::vector<std::uint8_t> bytes;
  if (ReadBoundedFile(path, kMaxChunkSize, bytes) != BoundedRead::kRead) return false;
  file.Clear();
  file.PutBytes(bytes.data(), static_cast<int>(bytes.size()));
  return true;
}

bool WriteFile(const char* path, const ByteChunk& file) {
  return WriteFileReplacing(path, file.Data(), static_cast<std::size_t>(file.Size()));
}

}  // namespace

void PluginBase::BuildProgramFile(ByteChunk& file) {
  ByteChunk data;
  WriteChunkHeader(data);
  SerializeState(data);

  PutFileHeaderStart(file, kProgramChunkKind, kProgramFormatVersion, mUniqueId, DecimalVersion(), kParameterCount,
                     data.Size() + kProgramChunkDataOffset);
  PutProgramName(file, GetPresetName(CurrentPresetIndex()));
  PutBigEndian(file, data.Size());
  file.PutChunk(data);
}

void PluginBase::BuildBankFile(ByteChunk& file) {
  ByteChunk data;
  WriteChunkHeader(data);
  SerializePresets(data);

  PutFileHeaderStart(file, kBankChunkKind, kBankFormatVersion, mUniqueId, DecimalVersion(), kPresetCount,
                     data.Size() + kBankChunkDataOffset);
  PutBigEndian(file, CurrentPresetIndex());
  const std::uint8_t reserved[kReservedSize] = {};
  file.PutBytes(reserved, kReservedSize);
  PutBigEndian(file, data.Size());
  file.PutChunk(data);
}

bool PluginBase::SaveProgramFile(const char* path) {
  if (!path || !path[0]) return false;
  ByteChunk file;
  BuildProgramFile(file);
  return WriteFile(path, file);
}

bool PluginBase::SaveBankFile(const char* path) {
  if (!path || !path[0]) return false;
  ByteChunk file;
  BuildBankFile(file);
  return WriteFile(path, file);
}

bool PluginBase::LoadProgramFile(const char* path) {
  ByteChunk file;
  return ReadFile(path, file) && LoadProgramFromMemory(file);
}

bool PluginBase::LoadBankFile(const char* path) {
  ByteChunk file;
  return ReadFile(path, file) && LoadBankFileFromMemory(file);
}

bool PluginBase::LoadProgramFromMemory(const ByteChunk& file) {
  std::int32_t magic = 0, kind = 0, formatVersion = 0, pluginId = 0;
  if (file.Size() < kProgramHeaderSize || !GetBigEndian(file, kMagicOffset, magic) ||
      !GetBigEndian(file, kKindOffset, kind) || !GetBigEndian(file, kFormatVersionOffset, formatVersion) ||
      !GetBigEndian(file, kPluginIdOffset, pluginId)) {
    return false;
  }
  if (magic != kFileMagic || formatVersion != kProgramFormatVersion || pluginId != mUniqueId) return false;
  const std::string name = GetProgramName(file, kProgramNameOffset);

  if (kind == kProgramChunkKind && mStateChunks) {
    int pos = kProgramChunkDataOffset;
    ReadChunkHeader(file, pos);
    UnserializeState(file, pos);
  } else if (kind == kProgramParamsKind) {
    // Values missing at the end of a short file leave those parameters as they are.
    for (int i = 0; i < kParameterCount; ++i) {
      float value = 0.0f;
      if (!GetBigEndianFloat(file, kProgramHeaderSize + 4 * i, value)) break;
      GetParam(i)->SetNormalized(SafeNormalized(value));
    }
  } else {
    return false;
  }
  ModifyCurrentPreset(name.c_str());
  SelectPreset(CurrentPresetIndex());
  NotifyHostProgramChange();
  return true;
}

bool PluginBase::LoadBankFileFromMemory(const ByteChunk& file) {
  std::int32_t magic = 0, kind = 0, pluginId = 0, programCount = 0, currentProgram = 0;
  if (file.Size() < kBankHeaderSize || !GetBigEndian(file, kMagicOffset, magic) ||
      !GetBigEndian(file, kKindOffset, kind) || !GetBigEndian(file, kPluginIdOffset, pluginId) ||
      !GetBigEndian(file, kCountOffset, programCount) || !GetBigEndian(file, kCurrentProgramOffset, currentProgram)) {
    return false;
  }
  if (magic != kFileMagic || pluginId != mUniqueId) return false;

  if (kind == kBankChunkKind && mStateChunks) {
    int pos = kBankChunkDataOffset;
    ReadChunkHeader(file, pos);
    UnserializePresets(file, pos);
  } else if (kind == kBankParamsKind) {
    constexpr int kRecordSize = kProgramHeaderSize + 4 * kParameterCount;
    // Programs beyond the bank's 64 slots have nowhere to go and are not read.
    const int programs = std::min<int>(programCount, kPresetCount);
    for (int i = 0; i < programs; ++i) {
      const int record = kBankHeaderSize + i * kRecordSize;
      std::int32_t recordMagic = 0, recordKind = 0, recordVersion = 0, recordParams = 0;
      if (record + kRecordSize > file.Size() || !GetBigEndian(file, record + kMagicOffset, recordMagic) ||
          !GetBigEndian(file, record + kKindOffset, recordKind) ||
          !GetBigEndian(file, record + kFormatVersionOffset, recordVersion) ||
          !GetBigEndian(file, record + kCountOffset, recordParams) || recordMagic != kFileMagic ||
          recordKind != kProgramParamsKind || recordVersion != kProgramFormatVersion ||
          recordParams != kParameterCount) {
        return false;
      }
      const std::string name = GetProgramName(file, record + kProgramNameOffset);
      SelectPreset(i);
      for (int p = 0; p < kParameterCount; ++p) {
        float value = 0.0f;
        GetBigEndianFloat(file, record + kProgramHeaderSize + 4 * p, value);
        GetParam(p)->SetNormalized(SafeNormalized(value));
      }
      ModifyCurrentPreset(name.c_str());
    }
    SelectPreset(currentProgram);
  } else {
    return false;
  }
  NotifyHostProgramChange();
  return true;
}

void PluginBase::LoadBankFromMemory(const void* bytes, int size) {
  ByteChunk file;
  file.PutBytes(bytes, size);
  int pos = kBankChunkDataOffset;
  ReadChunkHeader(file, pos);
  UnserializePresets(file, pos);
  NotifyHostProgramChange();
}
