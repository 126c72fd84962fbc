#include "tests/windows/tools/pitch_estimate.h"

#include <cstddef>

namespace {

constexpr double kLowestHz = 40.0;
constexpr double kHighestHz = 2000.0;
// YIN's absolute threshold: a dip under it is taken as the period.
constexpr double kDipThreshold = 0.1;

// The lag of the minimum of a parabola through the three points around a dip.
double RefineDip(const std::vector<double>& difference, std::size_t lag) {
  const double left = difference[lag - 1];
  const double centre = difference[lag];
  const double right = difference[lag + 1];
  const double curvature = left - 2.0 * centre + right;
  const double offset = curvature > 0.0 ? 0.5 * (left - right) / curvature : 0.0;
  return static_cast<double>(lag) + offset;
}

}  // namespace

double EstimateFundamental(const std::vector<double>& signal, int sampleRate) {
  if (sampleRate <= 0) return 0.0;
  const std::size_t minLag = static_cast<std::size_t>(sampleRate / kHighestHz);
  const std::size_t maxLag = static_cast<std::size_t>(sampleRate / kLowestHz) + 1;
  if (signal.size() < 2 * maxLag + 2) return 0.0;
  const std::size_t width = signal.size() - maxLag - 1;

  std::vector<double> difference(maxLag + 2, 0.0);
  for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
    double sum = 0.0;
    for (std::size_t i = 0; i < width; ++i) {
      const double delta = signal[i] - signal[i + lag];
      sum += delta * delta;
    }
    difference[lag] = sum;
  }

  std::vector<double> normalised(maxLag + 2, 1.0);
  double running = 0.0;
  for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
    running += difference[lag];
    normalised[lag] = running > 0.0 ? difference[lag] * static_cast<double>(lag) / running : 1.0;
  }

  // The first dip under the threshold, followed down to its bottom; a window
  // without such a dip holds no tone.
  std::size_t best = 0;
  for (std::size_t lag = minLag < 2 ? 2 : minLag; lag <= maxLag; ++lag) {
    if (normalised[lag] < kDipThreshold) {
      while (lag + 1 <= maxLag && normalised[lag + 1] < normalised[lag]) ++lag;
      best = lag;
      break;
    }
  }
  if (best == 0) return 0.0;

  // A dip at a single period would leave the parabola's error of a fraction
  // of a sample; the dip at the furthest whole number of periods divides it
  // by that number.
  const std::size_t periods = maxLag / best;
  std::size_t far = best * periods;
  const std::size_t slack = best / 4;
  for (std::size_t lag = far > slack ? far - slack : 1; lag <= far + slack && lag <= maxLag; ++lag) {
    if (difference[lag] < difference[far]) far = lag;
  }
  if (far < 1 || far > maxLag) return 0.0;
  return sampleRate * static_cast<double>(periods) / RefineDip(difference, far);
}
