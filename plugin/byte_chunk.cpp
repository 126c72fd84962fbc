#include "plugin/byte_chunk.h"

#include <cstring>

// The targets are little-endian x86, so the in-memory form is the stored form.
static_assert(sizeof(double) == 8, "doubles are stored as IEEE 754 binary64");

void ByteChunk::Resize(int size) { mBytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0u, 0); }

void ByteChunk::PutBytes(const void* data, int size) {
  if (size <= 0) return;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  mBytes.insert(mBytes.end(), bytes, bytes + size);
}

void ByteChunk::PutInt32(std::int32_t value) { PutBytes(&value, sizeof value); }
void ByteChunk::PutDouble(double value) { PutBytes(&value, sizeof value); }

void ByteChunk::PutBool(bool value) {
  const std::uint8_t byte = value ? 1 : 0;
  PutBytes(&byte, 1);
}

void ByteChunk::PutString(const std::string& text) {
  PutInt32(static_cast<std::int32_t>(text.size()));
  PutBytes(text.data(), static_cast<int>(text.size()));
}

bool ByteChunk::Has(int pos, int size) const {
  return pos >= 0 && static_cast<std::int64_t>(pos) + size <= static_cast<std::int64_t>(mBytes.size());
}

int ByteChunk::GetInt32(std::int32_t& value, int pos) const {
  if (!Has(pos, 4)) return -1;
  std::memcpy(&value, mBytes.data() + pos, 4);
  return pos + 4;
}

int ByteChunk::GetDouble(double& value, int pos) const {
  if (!Has(pos, 8)) return -1;
  std::memcpy(&value, mBytes.data() + pos, 8);
  return pos + 8;
}

int ByteChunk::GetBool(bool& value, int pos) const {
  if (!Has(pos, 1)) return -1;
  value = mBytes[static_cast<std::size_t>(pos)] != 0;
  return pos + 1;
}

int ByteChunk::GetString(std::string& text, int pos) const {
  std::int32_t length = 0;
  const int start = GetInt32(length, pos);
  if (start < 0) return -1;
  if (length < 0 || !Has(start, length)) {
    text.clear();
    return -1;
  }
  text.assign(reinterpret_cast<const char*>(mBytes.data()) + start, static_cast<std::size_t>(length));
  return start + length;
}

int ByteChunk::SkipString(int pos) const {
  std::int32_t length = 0;
  const int start = GetInt32(length, pos);
  if (start < 0 || length < 0 || !Has(start, length)) return -1;
  return start + length;
}

void WriteChunkHeader(ByteChunk& chunk) {
  chunk.Clear();
  chunk.PutInt32(kChunkMagic);
  chunk.PutInt32(kChunkFrameworkVersion);
}

std::int32_t ReadChunkHeader(const ByteChunk& chunk, int& pos) {
  std::int32_t magic = 0;
  const int afterMagic = chunk.GetInt32(magic, pos);
  if (afterMagic < 0 || magic != kChunkMagic) return 0;
  std::int32_t version = 0;
  pos = chunk.GetInt32(version, afterMagic);
  return pos < 0 ? 0 : version;
}
