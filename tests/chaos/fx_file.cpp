#include "tests/chaos/fx_file.h"

#include <algorithm>
#include <cstring>

#include "plugin/fx_file_layout.h"

namespace {

void PutBigEndian(FxBytes& file, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    file[offset + static_cast<std::size_t>(i)] = static_cast<unsigned char>(bits >> (24 - 8 * i));
}

std::int32_t GetBigEndian(const FxBytes& file, std::size_t offset) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits = (bits << 8) | file[offset + static_cast<std::size_t>(i)];
  return static_cast<std::int32_t>(bits);
}

}  // namespace

FxBytes WriteFxFile(const FxFileFields& fields, const FxBytes& chunk) {
  using namespace fxfile;
  const std::size_t dataOffset = fields.bank ? kBankChunkDataOffset : kProgramChunkDataOffset;
  FxBytes file(dataOffset + chunk.size(), 0);
  PutBigEndian(file, kMagicOffset, kFileMagic);
  // The size of what follows the size field, as most hosts write it.
  PutBigEndian(file, kByteSizeOffset, static_cast<std::int32_t>(file.size() - kKindOffset));
  PutBigEndian(file, kKindOffset, fields.bank ? kBankChunkKind : kProgramChunkKind);
  PutBigEndian(file, kFormatVersionOffset, fields.bank ? kBankFormatVersion : kProgramFormatVersion);
  PutBigEndian(file, kPluginIdOffset, fields.pluginId);
  PutBigEndian(file, kPluginVersionOffset, fields.pluginVersion);
  PutBigEndian(file, kCountOffset, fields.count);
  if (fields.bank) {
    PutBigEndian(file, kCurrentProgramOffset, fields.currentProgram);
  } else {
    // At most 27 characters and a terminator.
    std::memcpy(&file[kProgramNameOffset], fields.programName.data(),
                std::min<std::size_t>(fields.programName.size(), kProgramNameSize - 1));
  }
  PutBigEndian(file, fields.bank ? kBankChunkSizeOffset : kProgramChunkSizeOffset,
               static_cast<std::int32_t>(chunk.size()));
  std::copy(chunk.begin(), chunk.end(), file.begin() + static_cast<std::ptrdiff_t>(dataOffset));
  return file;
}

FxFileRead ReadFxFile(const FxBytes& file, std::int32_t pluginId) {
  using namespace fxfile;
  FxFileRead read;
  if (file.size() < static_cast<std::size_t>(kProgramChunkDataOffset)) {
    read.why = "shorter than a header";
    return read;
  }
  if (GetBigEndian(file, kMagicOffset) != kFileMagic) {
    read.why = "no file magic";
    return read;
  }
  const std::int32_t kind = GetBigEndian(file, kKindOffset);
  if (kind != kProgramChunkKind && kind != kBankChunkKind) {
    read.why = "not a chunk file";
    return read;
  }
  read.bank = kind == kBankChunkKind;
  const std::size_t dataOffset = read.bank ? kBankChunkDataOffset : kProgramChunkDataOffset;
  if (file.size() < dataOffset) {
    read.why = "shorter than a bank header";
    return read;
  }
  if (GetBigEndian(file, kPluginIdOffset) != pluginId) {
    read.why = "another plug-in's file";
    return read;
  }
  const std::int32_t size = GetBigEndian(file, read.bank ? kBankChunkSizeOffset : kProgramChunkSizeOffset);
  if (size < 0) {
    read.why = "a negative chunk size";
    return read;
  }
  const std::size_t present = std::min(static_cast<std::size_t>(size), file.size() - dataOffset);
  read.chunk.assign(file.begin() + static_cast<std::ptrdiff_t>(dataOffset),
                    file.begin() + static_cast<std::ptrdiff_t>(dataOffset + present));
  read.accepted = true;
  return read;
}
