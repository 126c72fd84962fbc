#include "tools/vorn-render/wav_writer.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace render {
namespace {

// Header layout, offsets in bytes. Integer PCM uses the 16-byte format chunk;
// float adds the cbSize field and the "fact" chunk that non-PCM data requires.
constexpr std::uint32_t kRiffSizeOffset = 4;
constexpr std::uint32_t kFormatChunkOffset = 12;
constexpr std::uint32_t kPcmFormatChunkSize = 16;
constexpr std::uint32_t kFloatFormatChunkSize = 18;
constexpr std::uint32_t kChunkHeaderSize = 8;
constexpr std::uint32_t kFactChunkSize = 4;
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatIeeeFloat = 3;
constexpr std::uint64_t kMaxRiffSize = 0xFFFFFFFFull;

constexpr float kPcm16Scale = 32767.0f;
constexpr float kPcm24Scale = 8388607.0f;

std::uint32_t FormatChunkSize(SampleFormat format) {
  return format == SampleFormat::kFloat32 ? kFloatFormatChunkSize : kPcmFormatChunkSize;
}

bool HasFactChunk(SampleFormat format) { return format == SampleFormat::kFloat32; }

std::uint32_t FactFramesOffset(SampleFormat format) {
  return kFormatChunkOffset + kChunkHeaderSize + FormatChunkSize(format) + kChunkHeaderSize;
}

std::uint32_t DataSizeOffset(SampleFormat format) {
  std::uint32_t offset = kFormatChunkOffset + kChunkHeaderSize + FormatChunkSize(format);
  if (HasFactChunk(format)) offset += kChunkHeaderSize + kFactChunkSize;
  return offset + 4;
}

std::uint32_t HeaderSize(SampleFormat format) { return DataSizeOffset(format) + 4; }

void PutLe(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

std::vector<unsigned char> BuildHeader(int channels, int sampleRate, SampleFormat format, std::uint64_t frames) {
  const std::uint32_t bytesPerFrame = static_cast<std::uint32_t>(channels * BytesPerSample(format));
  const std::uint32_t dataSize = static_cast<std::uint32_t>(frames * bytesPerFrame);
  std::vector<unsigned char> header;
  PutTag(header, "RIFF");
  PutLe(header, HeaderSize(format) - kChunkHeaderSize + dataSize, 4);
  PutTag(header, "WAVE");
  PutTag(header, "fmt ");
  PutLe(header, FormatChunkSize(format), 4);
  PutLe(header, format == SampleFormat::kFloat32 ? kFormatIeeeFloat : kFormatPcm, 2);
  PutLe(header, static_cast<std::uint32_t>(channels), 2);
  PutLe(header, static_cast<std::uint32_t>(sampleRate), 4);
  PutLe(header, static_cast<std::uint32_t>(sampleRate) * bytesPerFrame, 4);
  PutLe(header, bytesPerFrame, 2);
  PutLe(header, static_cast<std::uint32_t>(8 * BytesPerSample(format)), 2);
  if (HasFactChunk(format)) {
    PutLe(header, 0, 2);  // cbSize: no extension
    PutTag(header, "fact");
    PutLe(header, kFactChunkSize, 4);
    PutLe(header, static_cast<std::uint32_t>(frames), 4);
  }
  PutTag(header, "data");
  PutLe(header, dataSize, 4);
  return header;
}

}  // namespace

int BytesPerSample(SampleFormat format) {
  switch (format) {
    case SampleFormat::kPcm16: return 2;
    case SampleFormat::kPcm24: return 3;
    case SampleFormat::kFloat32: break;
  }
  return 4;
}

std::uint64_t WavWriter::MaxFrames(int channels, SampleFormat format) {
  const std::uint64_t room = kMaxRiffSize - (HeaderSize(format) - kChunkHeaderSize);
  return room / (static_cast<std::uint64_t>(channels) * BytesPerSample(format));
}

WavWriter::~WavWriter() { Abandon(); }

bool WavWriter::Open(const std::string& path, int channels, int sampleRate, SampleFormat format, int maxFramesPerWrite,
                     std::string& error) {
  Abandon();
  path_ = path;
  temporaryPath_ = path + ".vorn-render-partial";
  channels_ = channels;
  format_ = format;
  frames_ = 0;
  failed_ = false;
  clipped_ = 0;
  nonFinite_ = 0;
  interleaved_.assign(static_cast<std::size_t>(maxFramesPerWrite) * channels * BytesPerSample(format), 0);
  std::error_code code;
  if (std::filesystem::exists(temporaryPath_, code)) {
    error = temporaryPath_ + " exists already (left by another render?); remove it first";
    return false;
  }
  file_ = std::fopen(temporaryPath_.c_str(), "wb");
  if (!file_) {
    error = "cannot create " + temporaryPath_ + ": " + std::strerror(errno);
    return false;
  }
  const std::vector<unsigned char> header = BuildHeader(channels, sampleRate, format, 0);
  if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
    error = "cannot write " + temporaryPath_;
    Abandon();
    return false;
  }
  return true;
}

bool WavWriter::Write(const float* const* channels, int frames) {
  if (!file_ || failed_) return false;
  unsigned char* out = interleaved_.data();
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < channels_; ++c) {
      float value = channels[c][i];
      if (!std::isfinite(value)) {
        value = 0.0f;
        ++nonFinite_;
      }
      if (format_ == SampleFormat::kFloat32) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int b = 0; b < 4; ++b) *out++ = static_cast<unsigned char>(bits >> (8 * b));
        continue;
      }
      if (value > 1.0f || value < -1.0f) {
        value = value > 0.0f ? 1.0f : -1.0f;
        ++clipped_;
      }
      const bool wide = format_ == SampleFormat::kPcm24;
      const auto integer = static_cast<std::int32_t>(std::lround(value * (wide ? kPcm24Scale : kPcm16Scale)));
      const auto bits = static_cast<std::uint32_t>(integer);
      for (int b = 0; b < (wide ? 3 : 2); ++b) *out++ = static_cast<unsigned char>(bits >> (8 * b));
    }
  }
  const std::size_t bytes = static_cast<std::size_t>(out - interleaved_.data());
  if (std::fwrite(interleaved_.data(), 1, bytes, file_) != bytes) failed_ = true;
  frames_ += static_cast<std::uint64_t>(frames);
  return !failed_;
}

bool WavWriter::Commit(std::string& error) {
  if (!file_) {
    error = "no file is open";
    return false;
  }
  std::FILE* file = file_;
  const std::vector<unsigned char> header = BuildHeader(channels_, 0, format_, frames_);
  // Only the size fields change; the rate fields written at Open stay.
  const std::uint32_t patches[] = {kRiffSizeOffset, DataSizeOffset(format_),
                                   HasFactChunk(format_) ? FactFramesOffset(format_) : 0u};
  for (std::uint32_t offset : patches) {
    if (offset == 0) continue;
    if (std::fseek(file, offset, SEEK_SET) != 0 || std::fwrite(&header[offset], 1, 4, file) != 4) failed_ = true;
  }
  file_ = nullptr;
  if (std::fclose(file) != 0) failed_ = true;
  if (failed_ || frames_ > MaxFrames(channels_, format_)) {
    error = "cannot write " + temporaryPath_ + " (disk full?)";
    std::remove(temporaryPath_.c_str());
    return false;
  }
  std::error_code code;
  std::filesystem::rename(temporaryPath_, path_, code);
  if (code) {
    error = "cannot rename " + temporaryPath_ + " to " + path_ + ": " + code.message();
    std::remove(temporaryPath_.c_str());
    return false;
  }
  return true;
}

void WavWriter::Abandon() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  std::remove(temporaryPath_.c_str());
}

}  // namespace render
