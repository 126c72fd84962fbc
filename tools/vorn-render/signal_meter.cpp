#include "tools/vorn-render/signal_meter.h"

#include <cmath>
#include <limits>

namespace render {

void SignalMeter::Add(const float* const* channels, int channelCount, int frames) {
  for (int c = 0; c < channelCount; ++c) {
    for (int i = 0; i < frames; ++i) {
      const double x = channels[c][i];
      if (!std::isfinite(x)) continue;
      peak_ = std::fmax(peak_, std::fabs(x));
      sumOfSquares_ += x * x;
      ++count_;
    }
  }
}

double SignalMeter::Rms() const { return count_ ? std::sqrt(sumOfSquares_ / static_cast<double>(count_)) : 0.0; }

double ToDecibels(double level) {
  return level > 0.0 ? 20.0 * std::log10(level) : -std::numeric_limits<double>::infinity();
}

}  // namespace render
