#include "tests/windows/tools/wav_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kRiffHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kFormatChunkMinSize = 16;
// The extensible format chunk carries the real format tag 24 bytes in.
constexpr std::size_t kExtensibleSubFormatOffset = 24;

std::uint32_t LittleEndian(const unsigned char* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

bool SupportedEncoding(std::uint16_t format, int bits) {
  if (format == kFormatPcm) return bits == 16 || bits == 24 || bits == 32;
  if (format == kFormatFloat) return bits == 32 || bits == 64;
  return false;
}

// One sample of an encoding that SupportedEncoding accepted.
double DecodeSample(const unsigned char* p, std::uint16_t format, int bits) {
  if (format == kFormatPcm) {
    const int bytes = bits / 8;
    std::uint32_t raw = LittleEndian(p, bytes);
    // Sign-extend the top bit of a 16- or 24-bit sample.
    const int shift = 32 - bits;
    const std::int32_t value = static_cast<std::int32_t>(raw << shift) >> shift;
    return static_cast<double>(value) / static_cast<double>(std::uint32_t{1} << (bits - 1));
  }
  if (bits == 32) {
    const std::uint32_t raw = LittleEndian(p, 4);
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }
  const std::uint64_t raw = (static_cast<std::uint64_t>(LittleEndian(p + 4, 4)) << 32) | LittleEndian(p, 4);
  double value;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

}  // namespace

bool ReadWavFile(const std::string& path, WavAudio& audio, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (bytes.size() < kRiffHeaderSize || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    error = path + " is not a RIFF WAVE file";
    return false;
  }

  std::uint16_t format = 0;
  int bits = 0;
  const unsigned char* data = nullptr;
  std::size_t dataSize = 0;
  std::size_t pos = kRiffHeaderSize;
  while (pos + kChunkHeaderSize <= bytes.size()) {
    const unsigned char* header = bytes.data() + pos;
    const std::size_t size = LittleEndian(header + 4, 4);
    const std::size_t available = bytes.size() - pos - kChunkHeaderSize;
    const unsigned char* body = header + kChunkHeaderSize;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (size < kFormatChunkMinSize || size > available) {
        error = path + ": malformed format chunk";
        return false;
      }
      format = static_cast<std::uint16_t>(LittleEndian(body, 2));
      audio.channels = static_cast<int>(LittleEndian(body + 2, 2));
      audio.sampleRate = static_cast<int>(LittleEndian(body + 4, 4));
      bits = static_cast<int>(LittleEndian(body + 14, 2));
      if (format == kFormatExtensible && size >= kExtensibleSubFormatOffset + 2) {
        format = static_cast<std::uint16_t>(LittleEndian(body + kExtensibleSubFormatOffset, 2));
      }
    } else if (std::memcmp(header, "data", 4) == 0) {
      data = body;
      // Writers that stream may leave the size unset or too large.
      dataSize = size < available ? size : available;
      break;
    }
    // Chunks are padded to an even size.
    pos += kChunkHeaderSize + size + (size & 1);
  }

  if (format == 0 || data == nullptr) {
    error = path + ": no format or no data chunk";
    return false;
  }
  if (audio.channels <= 0 || !SupportedEncoding(format, bits)) {
    error = path + ": unsupported encoding (format " + std::to_string(format) + ", " + std::to_string(bits) +
            " bits, " + std::to_string(audio.channels) + " channels)";
    return false;
  }
  const std::size_t sampleBytes = static_cast<std::size_t>(bits / 8);
  const std::size_t count = dataSize / sampleBytes;
  audio.samples.assign(count - count % static_cast<std::size_t>(audio.channels), 0.0);
  for (std::size_t i = 0; i < audio.samples.size(); ++i) {
    audio.samples[i] = DecodeSample(data + i * sampleBytes, format, bits);
  }
  return true;
}
