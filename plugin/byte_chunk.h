// A growable byte buffer with little-endian encodings. Every reader takes a
// position and answers the next one, or -1 when the data ran out; -1 in gives
// -1 out, so a failed read makes every later read fail too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// No chunk or file is read when larger than this: far above any real state (a
// full bank is about 20 KB), far below what would strain a host's memory.
constexpr int kMaxChunkSize = 16 * 1024 * 1024;

class ByteChunk {
 public:
  int Size() const { return static_cast<int>(mBytes.size()); }
  const std::uint8_t* Data() const { return mBytes.data(); }
  std::uint8_t* Data() { return mBytes.data(); }

  void Clear() { mBytes.clear(); }
  void Resize(int size);

  void PutInt32(std::int32_t value);
  void PutDouble(double value);
  void PutBool(bool value);
  void PutString(const std::string& text);  // int32 length, then the characters
  void PutBytes(const void* data, int size);
  void PutChunk(const ByteChunk& other) { PutBytes(other.Data(), other.Size()); }

  int GetInt32(std::int32_t& value, int pos) const;
  int GetDouble(double& value, int pos) const;
  int GetBool(bool& value, int pos) const;
  // A length that is negative or runs past the end gives the empty string and
  // -1: the reader never moves backwards and later reads fail.
  int GetString(std::string& text, int pos) const;
  // Moves past a string as GetString reads it, without building it: safe on
  // the audio thread.
  int SkipString(int pos) const;

  bool operator==(const ByteChunk& other) const { return mBytes == other.mBytes; }

 private:
  bool Has(int pos, int size) const;

  std::vector<std::uint8_t> mBytes;
};

// The framework header that opens every chunk handed to a host: "tffp" and
// the framework version 1.0.0.
constexpr std::int32_t kChunkMagic = 0x70666674;
constexpr std::int32_t kChunkFrameworkVersion = 0x00010000;

void WriteChunkHeader(ByteChunk& chunk);
// Answers the framework version and moves pos past the header; answers 0 and
// leaves pos alone when the magic is absent, or 0 with pos = -1 when the
// version is cut off.
std::int32_t ReadChunkHeader(const ByteChunk& chunk, int& pos);
