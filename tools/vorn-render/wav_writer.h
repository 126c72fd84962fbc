// RIFF/WAVE file writer: 16- or 24-bit integer PCM or 32-bit IEEE float,
// interleaved, little-endian. It writes into a temporary file beside the
// target and renames it over the target only when the file is complete, so a
// failed render never leaves half a file or destroys the one already there.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace render {

enum class SampleFormat { kFloat32, kPcm16, kPcm24 };

int BytesPerSample(SampleFormat format);

class WavWriter {
 public:
  WavWriter() = default;
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;
  ~WavWriter();

  // The most frames a file of this shape can hold (the RIFF sizes are 32-bit).
  static std::uint64_t MaxFrames(int channels, SampleFormat format);

  bool Open(const std::string& path, int channels, int sampleRate, SampleFormat format, int maxFramesPerWrite,
            std::string& error);
  // channels[c][i] for i < frames <= maxFramesPerWrite. Integer formats clip to
  // full scale; NaN and infinity are written as 0 and counted.
  bool Write(const float* const* channels, int frames);
  bool Commit(std::string& error);
  void Abandon();

  std::uint64_t ClippedSamples() const { return clipped_; }
  std::uint64_t NonFiniteSamples() const { return nonFinite_; }

 private:
  std::string path_;
  std::string temporaryPath_;
  std::FILE* file_ = nullptr;
  int channels_ = 0;
  SampleFormat format_ = SampleFormat::kFloat32;
  std::uint64_t frames_ = 0;
  bool failed_ = false;
  std::vector<unsigned char> interleaved_;
  std::uint64_t clipped_ = 0;
  std::uint64_t nonFinite_ = 0;
};

}  // namespace render
