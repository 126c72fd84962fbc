// vorn-wavpitch <file.wav> <start s> <length s> <expected Hz> <tolerance cents>
//
// Measures the fundamental of a held note in a window of a render (channels
// summed) and checks it against an expected frequency.
// Exit status: 0 within tolerance, 1 outside it or no pitch found, 2 on bad
// use or input.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/windows/tools/pitch_estimate.h"
#include "tests/windows/tools/wav_file.h"

namespace {

constexpr int kArgumentCount = 6;
constexpr double kCentsPerOctave = 1200.0;

std::vector<double> MonoWindow(const WavAudio& audio, double startSeconds, double lengthSeconds) {
  // Frame numbers in double first, so that no window turns into a long that
  // overflows; a window beyond the end is empty.
  const double frames = static_cast<double>(audio.Frames());
  const double firstFrame = std::min(std::round(startSeconds * audio.sampleRate), frames);
  const double endFrame = std::min(firstFrame + std::round(lengthSeconds * audio.sampleRate), frames);
  const long first = static_cast<long>(firstFrame);
  const long end = static_cast<long>(endFrame);
  std::vector<double> mono;
  for (long frame = first; frame < end; ++frame) {
    double sum = 0.0;
    for (int c = 0; c < audio.channels; ++c) sum += audio.samples[static_cast<std::size_t>(frame * audio.channels + c)];
    mono.push_back(sum);
  }
  return mono;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != kArgumentCount) {
    std::fprintf(stderr, "usage: %s <file.wav> <start s> <length s> <expected Hz> <tolerance cents>\n", argv[0]);
    return 2;
  }
  WavAudio audio;
  std::string error;
  if (!ReadWavFile(argv[1], audio, error)) {
    std::fprintf(stderr, "error: %s\n", error.c_str());
    return 2;
  }
  const double start = std::atof(argv[2]);
  const double length = std::atof(argv[3]);
  const double expected = std::atof(argv[4]);
  const double tolerance = std::atof(argv[5]);
  // Written so that NaN is refused too.
  if (!(start >= 0.0) || !(length > 0.0) || !(expected > 0.0)) {
    std::fprintf(stderr, "error: start, length and expected frequency must be positive\n");
    return 2;
  }

  const double measured = EstimateFundamental(MonoWindow(audio, start, length), audio.sampleRate);
  if (measured <= 0.0) {
    std::printf("no pitch found between %.3f s and %.3f s\n", start, start + length);
    return 1;
  }
  const double cents = kCentsPerOctave * std::log2(measured / expected);
  std::printf("measured %.3f Hz, expected %.3f Hz: %+.2f cents (tolerance %.2f)\n", measured, expected, cents,
              tolerance);
  return std::fabs(cents) <= tolerance ? 0 : 1;
}
