// Byte layout of program (FXP) and bank (FXB) files. Header integers are
// big-endian; the chunk data inside is the little-endian state chunk.
#pragma once

#include <cstdint>

namespace fxfile {

constexpr std::int32_t Tag(const char (&text)[5]) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
                                   (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
                                   (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
                                   static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])));
}

constexpr std::int32_t kFileMagic = Tag("CcnK");
constexpr std::int32_t kProgramChunkKind = Tag("FPCh");
constexpr std::int32_t kProgramParamsKind = Tag("FxCk");
constexpr std::int32_t kBankChunkKind = Tag("FBCh");
constexpr std::int32_t kBankParamsKind = Tag("FxBk");
constexpr std::int32_t kProgramFormatVersion = 1;
constexpr std::int32_t kBankFormatVersion = 2;

// Offsets shared by both files.
constexpr int kMagicOffset = 0;
constexpr int kByteSizeOffset = 4;
constexpr int kKindOffset = 8;
constexpr int kFormatVersionOffset = 12;
constexpr int kPluginIdOffset = 16;
constexpr int kPluginVersionOffset = 20;
constexpr int kCountOffset = 24;  // parameters (FXP) or programs (FXB)

// Program file.
constexpr int kProgramNameOffset = 28;
constexpr int kProgramNameSize = 28;
constexpr int kProgramHeaderSize = 56;  // the parameter form's values start here
constexpr int kProgramChunkSizeOffset = 56;
constexpr int kProgramChunkDataOffset = 60;

// Bank file.
constexpr int kCurrentProgramOffset = 28;
constexpr int kReservedOffset = 32;
constexpr int kReservedSize = 124;
constexpr int kBankHeaderSize = 156;  // the parameter form's program records start here
constexpr int kBankChunkSizeOffset = 156;
constexpr int kBankChunkDataOffset = 160;

static_assert(kProgramNameOffset + kProgramNameSize == kProgramHeaderSize, "FXP header layout");
static_assert(kReservedOffset + kReservedSize == kBankHeaderSize, "FXB header layout");

}  // namespace fxfile
