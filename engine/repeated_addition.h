// x + step + step + ... (n additions, each rounded to double as it happens),
// computed with a few integer operations instead of n dependent additions.
//
// While every sum stays inside the binade [2^e, 2^(e+1)) of x, each addition
// rounds step to the same multiple w of that binade's spacing (x sits on the
// spacing grid, so only step's offset from it decides the rounding), and n
// additions add exactly n * w spacings to x's mantissa. Where that cannot be
// shown cheaply (x not a positive normal number, a sum that may leave the
// binade, step exactly half-way between two multiples, where ties-to-even
// would depend on the parity of each sum), the additions are made one by one.
// The result is the same double either way, under any flush-to-zero setting.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace repeated_addition {

constexpr int kMantissaBits = 52;
constexpr std::uint64_t kMantissaMask = (std::uint64_t{1} << kMantissaBits) - 1;
constexpr std::uint64_t kExponentMask = std::uint64_t{0x7FF} << kMantissaBits;
constexpr std::int64_t kLastMantissa = static_cast<std::int64_t>(kMantissaMask);
// The biased exponent of 2^52 / 2^e is this minus the biased exponent of 2^e.
constexpr std::uint64_t kScaleExponentSum = std::uint64_t{2 * 1023 + kMantissaBits} << kMantissaBits;
// From here up the spacing 2^(e - 52) has a normal inverse.
constexpr std::uint64_t kSmallestScalableExponent = std::uint64_t{kMantissaBits + 1} << kMantissaBits;
constexpr double kMantissaSpan = 4503599627370496.0;  // 2^52

inline std::uint64_t Bits(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

inline double FromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

}  // namespace repeated_addition

// The common case of AddRepeatedly, inline: all n additions on x's grid at
// once. Answers false, leaving x alone, where that is not shown to round alike
// (n < 1 included); AddRepeatedlyAcrossBinades then does the work.
inline bool AddAllOnOneGrid(double& x, double step, int n) {
  namespace ra = repeated_addition;
  const std::uint64_t bits = ra::Bits(x);
  // Positive, normal, and with a scalable spacing: one unsigned compare.
  if (bits - ra::kSmallestScalableExponent >= ra::kExponentMask - ra::kSmallestScalableExponent || n < 1) {
    return false;
  }
  const std::uint64_t exponentBits = bits & ra::kExponentMask;
  // step in units of the spacing: a power-of-two scale, exact unless the
  // product is too small to be normal, and then it rounds to 0 spacings as
  // the exact one does.
  const double spacings = step * ra::FromBits(ra::kScaleExponentSum - exponentBits);
  if (!(std::fabs(spacings) * n < ra::kMantissaSpan)) return false;
  // Nearest whole number of spacings; a tie is left to the plain additions.
  const double shifted = spacings + std::copysign(0.5, spacings);
  const auto whole = static_cast<std::int64_t>(shifted);
  if (static_cast<double>(whole) == shifted) return false;
  // Every exact sum lies within half a spacing of a rounded mantissa between
  // the first and the last, which lie between x's mantissa and the last one:
  // the last in 1 .. 2^52 - 1 keeps every sum strictly inside the binade.
  const std::int64_t last = static_cast<std::int64_t>(bits & ra::kMantissaMask) + whole * n;
  if (static_cast<std::uint64_t>(last - 1) >= static_cast<std::uint64_t>(ra::kLastMantissa)) return false;
  x = ra::FromBits(exponentBits | static_cast<std::uint64_t>(last));
  return true;
}

// The additions in as few steps as provably round alike, binade by binade.
double AddRepeatedlyAcrossBinades(double x, double step, int n);

inline double AddRepeatedly(double x, double step, int n) {
  return AddAllOnOneGrid(x, step, n) ? x : AddRepeatedlyAcrossBinades(x, step, n);
}
