#include "engine/repeated_addition.h"

namespace {

namespace ra = repeated_addition;

constexpr double kSmallestNormal = 2.2250738585072014e-308;

// Makes as many of the n additions as provably round alike, at least one
// unless none does; answers how many. For a sum that may leave the binade:
// the additions up to its edge.
int AddOnOneGrid(double& x, double step, int n) {
  const std::uint64_t bits = ra::Bits(x);
  const std::uint64_t exponentBits = bits & ra::kExponentMask;
  // Positive, normal, and with a spacing 2^(e - 52) whose inverse is normal.
  if (bits >= ra::kExponentMask || exponentBits < ra::kSmallestScalableExponent) return 0;
  // step in units of that spacing: a power-of-two scale, exact while the
  // product stays normal.
  const double spacings = step * ra::FromBits(ra::kScaleExponentSum - exponentBits);
  const double size = std::fabs(spacings);
  if (!(size * n < ra::kMantissaSpan) || (size != 0.0 && size < kSmallestNormal)) return 0;
  // Nearest whole number of spacings; a tie is left to the plain additions.
  const double half = spacings < 0.0 ? -0.5 : 0.5;
  const auto whole = static_cast<std::int64_t>(spacings + half);
  if (static_cast<double>(whole) == spacings + half) return 0;
  // Every exact sum lies within half a spacing of a rounded mantissa between
  // the first and the last; keeping those in 1 .. 2^52 - 1 keeps every sum
  // strictly inside the binade.
  const auto mantissa = static_cast<std::int64_t>(bits & ra::kMantissaMask);
  if (whole == 0) return mantissa >= 1 ? n : 0;
  std::int64_t steps = n;
  if (mantissa + whole * steps > ra::kLastMantissa) steps = (ra::kLastMantissa - mantissa) / whole;
  if (mantissa + whole * steps < 1) steps = (mantissa - 1) / -whole;
  if (steps < 1) return 0;
  x = ra::FromBits(exponentBits | static_cast<std::uint64_t>(mantissa + whole * steps));
  return static_cast<int>(steps);
}

}  // namespace

double AddRepeatedlyAcrossBinades(double x, double step, int n) {
  while (n > 0) {
    const int done = AddOnOneGrid(x, step, n);
    if (done > 0) {
      n -= done;
    } else {
      x += step;
      --n;
    }
  }
  return x;
}
