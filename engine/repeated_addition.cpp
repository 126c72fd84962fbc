#include "engine/repeated_addition.h"

#include <cstdint>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMantissaBits = 52;
constexpr std::uint64_t kMantissaMask = (std::uint64_t{1} << kMantissaBits) - 1;
constexpr std::uint64_t kExponentMask = std::uint64_t{0x7FF} << kMantissaBits;
constexpr std::int64_t kLastMantissa = static_cast<std::int64_t>(kMantissaMask);
// The biased exponent of 2^52 / 2^e is this minus the biased exponent of 2^e.
constexpr std::uint64_t kScaleExponentSum = std::uint64_t{2 * 1023 + kMantissaBits} << kMantissaBits;
constexpr std::uint64_t kSmallestScalableExponent = std::uint64_t{kMantissaBits + 1} << kMantissaBits;
constexpr double kMantissaSpan = 4503599627370496.0;  // 2^52
constexpr double kSmallestNormal = 2.2250738585072014e-308;

std::uint64_t Bits(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

double FromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// Makes as many of the n additions as provably round alike, at least one
// unless none does; answers how many.
int AddOnOneGrid(double& x, double step, int n) {
  const std::uint64_t bits = Bits(x);
  const std::uint64_t exponentBits = bits & kExponentMask;
  // Positive, normal, and with a spacing 2^(e - 52) whose inverse is normal.
  if (bits >= kExponentMask || exponentBits < kSmallestScalableExponent) return 0;
  // step in units of that spacing: a power-of-two scale, exact while the
  // product stays normal.
  const double spacings = step * FromBits(kScaleExponentSum - exponentBits);
  const double size = std::fabs(spacings);
  if (!(size * n < kMantissaSpan) || (size != 0.0 && size < kSmallestNormal)) return 0;
  // Nearest whole number of spacings; a tie is left to the plain additions.
  const double half = spacings < 0.0 ? -0.5 : 0.5;
  const auto whole = static_cast<std::int64_t>(spacings + half);
  if (static_cast<double>(whole) == spacings + half) return 0;
  // Every exact sum lies within half a spacing of a rounded mantissa between
  // the first and the last; keeping those in 1 .. 2^52 - 1 keeps every sum
  // strictly inside the binade.
  const auto mantissa = static_cast<std::int64_t>(bits & kMantissaMask);
  if (whole == 0) return mantissa >= 1 ? n : 0;
  std::int64_t steps = n;
  if (mantissa + whole * steps > kLastMantissa) steps = (kLastMantissa - mantissa) / whole;
  if (mantissa + whole * steps < 1) steps = (mantissa - 1) / -whole;
  if (steps < 1) return 0;
  x = FromBits(exponentBits | static_cast<std::uint64_t>(mantissa + whole * steps));
  return static_cast<int>(steps);
}

}  // namespace

double AddRepeatedly(double x, double step, int n) {
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
