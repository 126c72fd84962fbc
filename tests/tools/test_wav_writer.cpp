// The WAV writer, checked by reading its files back with sox.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "tests/tools/tool_process.h"
#include "tools/vorn-render/wav_writer.h"

namespace {

using render::SampleFormat;
using render::WavWriter;

constexpr int kRate = 22050;
constexpr int kFrames = 1000;
constexpr int kBlock = 300;  // not a divisor of kFrames: the last write is short

// Left: a sine at 0.8; right: a ramp from -1 to 1 with one sample over full
// scale and one NaN.
float Sample(int channel, int frame) {
  if (channel == 0) return 0.8f * static_cast<float>(std::sin(frame * 0.05));
  if (frame == 500) return 1.5f;
  if (frame == 501) return std::numeric_limits<float>::quiet_NaN();
  return -1.0f + 2.0f * static_cast<float>(frame) / (kFrames - 1);
}

bool WriteTestFile(const std::string& path, SampleFormat format, WavWriter& writer) {
  std::string error;
  if (!writer.Open(path, 2, kRate, format, kBlock, error)) return false;
  float left[kBlock];
  float right[kBlock];
  const float* channels[2] = {left, right};
  for (int start = 0; start < kFrames; start += kBlock) {
    const int frames = std::min(kBlock, kFrames - start);
    for (int i = 0; i < frames; ++i) {
      left[i] = Sample(0, start + i);
      right[i] = Sample(1, start + i);
    }
    if (!writer.Write(channels, frames)) return false;
  }
  return writer.Commit(error);
}

TEST(WavWriter, EveryFormatReadsBackThroughSox) {
  struct Format {
    SampleFormat format;
    const char* encoding;
    int bits;
    double step;  // one quantisation step
  };
  const Format formats[] = {{SampleFormat::kFloat32, "Floating Point PCM", 32, 1e-7},
                            {SampleFormat::kPcm16, "Signed Integer PCM", 16, 1.0 / 32767},
                            {SampleFormat::kPcm24, "Signed Integer PCM", 24, 1.0 / 8388607}};
  tooltest::ScratchFolder folder;
  for (const Format& f : formats) {
    SCOPED_TRACE(f.bits);
    const std::string path = folder.Path("out" + std::to_string(f.bits) + ".wav");
    WavWriter writer;
    ASSERT_TRUE(WriteTestFile(path, f.format, writer));
    EXPECT_EQ(writer.NonFiniteSamples(), 1u);
    EXPECT_EQ(writer.ClippedSamples(), f.format == SampleFormat::kFloat32 ? 0u : 1u);

    const tooltest::SoxAudio audio = tooltest::ReadWithSox(path);
    ASSERT_TRUE(audio.ok);
    EXPECT_EQ(audio.rate, kRate);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.frames, kFrames);
    EXPECT_EQ(audio.encoding, f.encoding);
    EXPECT_EQ(audio.bits, f.bits);
    ASSERT_EQ(audio.samples.size(), 2u * kFrames);
    for (int i = 0; i < kFrames; ++i) {
      for (int c = 0; c < 2; ++c) {
        double expected = Sample(c, i);
        if (std::isnan(expected)) expected = 0.0;
        // sox itself clips on decoding, so the float file's over reads back as 1 too.
        expected = std::fmax(-1.0, std::fmin(1.0, expected));
        // sox decodes integers by dividing by 2^(bits-1), a hair below our scale.
        ASSERT_NEAR(audio.samples[2 * i + c], expected, 1.5 * f.step) << "frame " << i << " channel " << c;
      }
    }
  }
}

TEST(WavWriter, ReplacesTheTargetOnlyWhenComplete) {
  tooltest::ScratchFolder folder;
  const std::string path = folder.Path("keep.wav");
  ASSERT_TRUE(tooltest::WriteBytes(path, {'o', 'l', 'd'}));
  {
    WavWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(path, 2, kRate, SampleFormat::kPcm16, kBlock, error)) << error;
    const float silence[kBlock] = {};
    const float* channels[2] = {silence, silence};
    ASSERT_TRUE(writer.Write(channels, kBlock));
    // Destroyed without Commit, as when a render fails half way.
  }
  EXPECT_EQ(tooltest::ReadText(path), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("")), {}), 1);

  WavWriter writer;
  ASSERT_TRUE(WriteTestFile(path, SampleFormat::kPcm16, writer));
  EXPECT_EQ(tooltest::ReadWithSox(path).frames, kFrames);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("")), {}), 1);

  std::string error;
  WavWriter unwritable;
  EXPECT_FALSE(unwritable.Open(folder.Path("no/such/folder.wav"), 2, kRate, SampleFormat::kPcm16, kBlock, error));
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

}  // namespace
