// Measures of rendered audio at 48 kHz used to judge the factory bank:
// loudness after ITU-R BS.1770 (K-weighting and gating), peaks, DC, clicks at
// note events, decay time and where the energy of a spectrum lies.
#pragma once

#include <vector>

namespace audio {

constexpr int kRate = 48000;

// Two channels of the same length.
struct Stereo {
  std::vector<double> left, right;
  std::size_t Size() const { return left.size(); }
};

struct Loudness {
  double integrated;    // LUFS, gated; -inf for silence
  double momentaryMax;  // LUFS, the loudest 400 ms block
};
Loudness MeasureLoudness(const Stereo& audio);

double PeakDb(const Stereo& audio);  // dBFS over both channels

// The mean of the left channel relative to its RMS, in dB, over [from, to).
double DcDb(const std::vector<double>& x, std::size_t from, std::size_t to);

// The jump an event at frame `at` makes, as a share of the local peak:
// `without` is the same performance rendered without that event, so the first
// sample where the two differ shows what the event changed at once. A new
// pitch or envelope segment only grows from there; a click is there whole.
// Returns a negative value when the two already differ before the event (a
// random LFO draws differently in each render); StepAt then judges alone.
double StepBetween(const std::vector<double>& with, const std::vector<double>& without, std::size_t at);

// The same from one render: the second difference just around the event
// beyond the largest one the sound shows on its own in the 20 ms around it.
double StepAt(const std::vector<double>& x, std::size_t at);

// Seconds from the loudest 5 ms of x until its level stays 40 dB below it;
// the length of x when it never gets there.
double DecaySeconds(const std::vector<double>& x);

// The power spectrum of 8192 Hann-windowed samples from `from`.
std::vector<double> PowerSpectrum(const std::vector<double>& x, std::size_t from);
constexpr int kSpectrumSize = 8192;
double BinHz();

// Share of spectral energy at or above `hz`.
double ShareAbove(const std::vector<double>& power, double hz);
double CentroidHz(const std::vector<double>& power);
// Energy away from the harmonics of f0 (aliasing, for a periodic sound)
// relative to the whole, in dB.
double InharmonicDb(const std::vector<double>& power, double f0);

double Db(double ratio);  // 10 log10 of a power ratio

}  // namespace audio
