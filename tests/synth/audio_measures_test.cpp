#include "tests/synth/audio_measures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> Sine(double hz, double amplitude, double seconds) {
  std::vector<double> x(static_cast<std::size_t>(seconds * audio::kRate));
  for (std::size_t i = 0; i < x.size(); ++i)
    x[i] = amplitude * std::sin(2 * kPi * hz * static_cast<double>(i) / audio::kRate);
  return x;
}

TEST(AudioMeasures, LoudnessFollowsTheStandardsReferenceTone) {
  // A full-scale 997 Hz sine in one channel of two reads -3.01 LKFS; the
  // K-weighting lifts 8 kHz by about 4 dB and takes 20 Hz down by about 13 dB.
  const struct {
    double hz, amplitude;
    bool bothChannels;
    double lufs;
  } cases[] = {{997, 1.0, false, -3.01},
               {997, 0.1, false, -23.01},
               {997, 0.1, true, -20.0},
               {8000, 0.1, false, -19.0},
               {20, 1.0, false, -16.0}};
  for (const auto& c : cases) {
    const std::vector<double> tone = Sine(c.hz, c.amplitude, 2.0);
    const audio::Loudness loudness =
        audio::MeasureLoudness({tone, c.bothChannels ? tone : std::vector<double>(tone.size())});
    EXPECT_NEAR(loudness.integrated, c.lufs, c.hz == 997 ? 0.05 : 1.0) << c.hz;
    EXPECT_NEAR(loudness.momentaryMax, loudness.integrated, 0.05);
  }
}

TEST(AudioMeasures, GatingLeavesSilenceAndQuietTailsOut) {
  std::vector<double> tone = Sine(997, 0.1, 1.0);
  tone.resize(tone.size() * 4);  // three seconds of silence after a second of tone
  const audio::Loudness loudness = audio::MeasureLoudness({tone, std::vector<double>(tone.size())});
  // Seven 400 ms blocks lie in the tone and three overlap its end by 3/4, 2/4
  // and 1/4; the silent ones fall under the gates.
  EXPECT_NEAR(loudness.integrated, -23.01 + 10 * std::log10((7 + 0.75 + 0.5 + 0.25) / 10), 0.05);
  EXPECT_TRUE(std::isinf(audio::MeasureLoudness({std::vector<double>(96000), std::vector<double>(96000)}).integrated));
}

TEST(AudioMeasures, StepsAreFoundWhereTheRendersPart) {
  const std::vector<double> tone = Sine(220, 0.5, 0.2);
  std::vector<double> jumped = tone, glided = tone;
  const std::size_t at = 4800;
  for (std::size_t i = at; i < tone.size(); ++i) {
    jumped[i] = tone[i] + 0.1;
    glided[i] = tone[i] + 0.1 * std::min(1.0, static_cast<double>(i - at) / 240.0);
  }
  EXPECT_NEAR(audio::StepBetween(jumped, tone, at), 0.1 / 0.6, 0.01);
  EXPECT_LT(audio::StepBetween(glided, tone, at), 0.01);
  std::vector<double> early = tone;
  early[10] += 0.1;
  EXPECT_LT(audio::StepBetween(early, tone, at), 0.0);  // already apart: not comparable
  EXPECT_GT(audio::StepAt(jumped, at), 0.1);
  EXPECT_LT(audio::StepAt(glided, at), 0.01);
}

TEST(AudioMeasures, SpectrumSharesCentroidAndInharmonicEnergy) {
  const double f0 = 1000.0;
  std::vector<double> harmonic = Sine(f0, 0.5, 0.2), withAlias = harmonic;
  const std::vector<double> second = Sine(2 * f0, 0.25, 0.2), stray = Sine(1370, 0.05, 0.2),
                            high = Sine(9000, 0.5, 0.2);
  for (std::size_t i = 0; i < harmonic.size(); ++i) {
    harmonic[i] += second[i];
    withAlias[i] = harmonic[i] + stray[i];
  }
  EXPECT_LT(audio::InharmonicDb(audio::PowerSpectrum(harmonic, 0), f0), -40.0);  // the window's own leakage
  // A stray 0.05 against 0.5 and 0.25: 0.0025 of a power of 0.315, -21 dB.
  EXPECT_NEAR(audio::InharmonicDb(audio::PowerSpectrum(withAlias, 0), f0), -21.0, 0.3);
  // A sound that has died away has no aliasing to speak of.
  EXPECT_LT(audio::InharmonicDb(audio::PowerSpectrum(std::vector<double>(audio::kSpectrumSize), 0), f0), -200.0);
  const std::vector<double> spectrum = audio::PowerSpectrum(high, 0);
  EXPECT_GT(audio::ShareAbove(spectrum, 5000), 0.99);
  EXPECT_NEAR(audio::CentroidHz(spectrum), 9000, 20);
}

TEST(AudioMeasures, DecayAndDc) {
  std::vector<double> decaying = Sine(440, 1.0, 1.0);
  for (std::size_t i = 0; i < decaying.size(); ++i)
    decaying[i] *= std::exp(-static_cast<double>(i) / (0.05 * audio::kRate));
  // -40 dB of an exponential with a 50 ms time constant: 230 ms.
  EXPECT_NEAR(audio::DecaySeconds(decaying), 0.23, 0.01);
  std::vector<double> offset = Sine(440, 1.0, 1.0);
  for (double& sample : offset) sample += 0.01;
  EXPECT_NEAR(audio::DcDb(offset, 0, offset.size()), -37.0, 0.1);  // 0.01 against an RMS of 0.707
}

}  // namespace
