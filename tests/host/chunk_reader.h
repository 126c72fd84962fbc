// Reads the little-endian values of a state chunk in order; once a read runs
// past the end every later read fails too.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ChunkReader {
 public:
  explicit ChunkReader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return position_; }
  bool AtEnd() const { return ok_ && position_ == bytes_.size(); }

  std::int32_t Int32() {
    std::uint32_t value = 0;
    const unsigned char* bytes = Take(4);
    if (bytes != nullptr) {
      value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
              static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    }
    return static_cast<std::int32_t>(value);
  }

  double Double() {
    double value = 0.0;
    const unsigned char* bytes = Take(sizeof(double));
    if (bytes != nullptr) std::memcpy(&value, bytes, sizeof(double));
    return value;
  }

  bool Bool() {
    const unsigned char* bytes = Take(1);
    return bytes != nullptr && bytes[0] != 0;
  }

  std::string Bytes(std::size_t count) {
    const unsigned char* bytes = Take(count);
    return bytes != nullptr ? std::string(reinterpret_cast<const char*>(bytes), count) : std::string();
  }

  // int32 length, then that many characters without terminator.
  std::string String() {
    std::int32_t length = Int32();
    if (length < 0) {
      ok_ = false;
      return std::string();
    }
    return Bytes(static_cast<std::size_t>(length));
  }

 private:
  const unsigned char* Take(std::size_t count) {
    if (!ok_ || count > bytes_.size() - position_) {
      ok_ = false;
      return nullptr;
    }
    const unsigned char* bytes = bytes_.data() + position_;
    position_ += count;
    return bytes;
  }

  const std::vector<unsigned char>& bytes_;
  std::size_t position_ = 0;
  bool ok_ = true;
};
