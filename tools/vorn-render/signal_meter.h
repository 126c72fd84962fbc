// Peak and RMS of everything rendered, over all channels together.
//   peak = max |x|,  RMS = sqrt(sum x^2 / count); levels in dBFS = 20 log10(level),
//   -inf for silence. Non-finite samples are left out.
#pragma once

#include <cstdint>

namespace render {

class SignalMeter {
 public:
  void Add(const float* const* channels, int channelCount, int frames);
  double Peak() const { return peak_; }
  double Rms() const;

 private:
  double peak_ = 0.0;
  double sumOfSquares_ = 0.0;
  std::uint64_t count_ = 0;
};

double ToDecibels(double level);

}  // namespace render
