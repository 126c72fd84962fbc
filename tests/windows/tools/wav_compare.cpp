// vorn-wavcompare <reference.wav> <candidate.wav> <max difference> <min distance dB>
//
// Compares two renders of the same piece made by different builds. They pass
// when they have the same rate, channels and length, no sample differs by
// more than <max difference> (full scale 1.0), and the RMS of the difference
// lies at least <min distance dB> below the RMS of the reference.
// Exit status: 0 within tolerance, 1 outside it, 2 on bad use or input.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/windows/tools/wav_file.h"

namespace {

constexpr int kArgumentCount = 5;

struct Difference {
  double maxAbs = 0.0;
  long maxFrame = 0;
  double referenceRms = 0.0;
  double differenceRms = 0.0;
};

Difference Measure(const WavAudio& reference, const WavAudio& candidate) {
  Difference result;
  double referenceEnergy = 0.0;
  double differenceEnergy = 0.0;
  for (std::size_t i = 0; i < reference.samples.size(); ++i) {
    const double delta = candidate.samples[i] - reference.samples[i];
    referenceEnergy += reference.samples[i] * reference.samples[i];
    differenceEnergy += delta * delta;
    // A NaN in either render must fail, so it counts as an infinite difference.
    const double magnitude = std::isfinite(delta) ? std::fabs(delta) : INFINITY;
    if (magnitude > result.maxAbs) {
      result.maxAbs = magnitude;
      result.maxFrame = static_cast<long>(i) / reference.channels;
    }
  }
  const double count = static_cast<double>(reference.samples.size());
  result.referenceRms = std::sqrt(referenceEnergy / count);
  result.differenceRms = std::sqrt(differenceEnergy / count);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != kArgumentCount) {
    std::fprintf(stderr, "usage: %s <reference.wav> <candidate.wav> <max difference> <min distance dB>\n", argv[0]);
    return 2;
  }
  const double maxDifference = std::atof(argv[3]);
  const double minDistanceDb = std::atof(argv[4]);

  WavAudio reference;
  WavAudio candidate;
  std::string error;
  if (!ReadWavFile(argv[1], reference, error) || !ReadWavFile(argv[2], candidate, error)) {
    std::fprintf(stderr, "error: %s\n", error.c_str());
    return 2;
  }
  if (reference.sampleRate != candidate.sampleRate || reference.channels != candidate.channels ||
      reference.samples.size() != candidate.samples.size()) {
    std::printf("different shape: %d Hz x %d ch x %ld frames against %d Hz x %d ch x %ld frames\n",
                reference.sampleRate, reference.channels, reference.Frames(), candidate.sampleRate, candidate.channels,
                candidate.Frames());
    return 1;
  }
  if (reference.samples.empty()) {
    std::printf("the reference is empty\n");
    return 1;
  }

  const Difference d = Measure(reference, candidate);
  if (d.referenceRms == 0.0) {
    std::printf("the reference is silent: nothing to compare\n");
    return 1;
  }
  // An identical render has no finite distance; report it as such.
  const double distanceDb = d.differenceRms > 0.0 ? 20.0 * std::log10(d.referenceRms / d.differenceRms) : INFINITY;
  const bool pass = d.maxAbs <= maxDifference && distanceDb >= minDistanceDb;
  std::printf(
      "%ld frames: max difference %.3g at %.3f s (limit %.3g), difference %.1f dB below the signal (limit %.1f)\n",
      reference.Frames(), d.maxAbs, static_cast<double>(d.maxFrame) / reference.sampleRate, maxDifference, distanceDb,
      minDistanceDb);
  return pass ? 0 : 1;
}
