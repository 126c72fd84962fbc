#include "tests/synth/audio_measures.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace audio {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kMs = kRate / 1000;
constexpr std::size_t kAround = 20 * kMs;  // what "local" means for a step
constexpr double kInaudible = 1e-3;        // steps in a sound 60 dB down are not heard

// One biquad section, direct form I: y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2.
struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double Process(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// The K-weighting of BS.1770 at 48 kHz: a high shelf of about +4 dB above
// 1.5 kHz, then a high-pass at about 38 Hz.
std::vector<double> KWeighted(const std::vector<double>& x) {
  Biquad shelf{1.53512485958697, -2.69169618940638, 1.19839281085285, -1.69065929318241, 0.73248077421585};
  Biquad highPass{1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621};
  std::vector<double> y(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) y[i] = highPass.Process(shelf.Process(x[i]));
  return y;
}

double BlockLoudness(double meanSquare) { return -0.691 + 10.0 * std::log10(meanSquare); }

void Fft(std::vector<std::complex<double>>& a) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const std::complex<double> turn = std::polar(1.0, -2.0 * kPi / static_cast<double>(length));
    for (std::size_t i = 0; i < n; i += length) {
      std::complex<double> w = 1.0;
      for (std::size_t k = 0; k < length / 2; ++k, w *= turn) {
        const std::complex<double> u = a[i + k], v = a[i + k + length / 2] * w;
        a[i + k] = u + v;
        a[i + k + length / 2] = u - v;
      }
    }
  }
}

double AbsSecondDifference(const std::vector<double>& x, std::size_t i) {
  return std::fabs(x[i] - 2.0 * x[i - 1] + x[i - 2]);
}

double MaxOver(const std::vector<double>& x, std::size_t from, std::size_t to,
               double (*f)(const std::vector<double>&, std::size_t)) {
  double most = 0;
  for (std::size_t i = std::max<std::size_t>(from, 2); i < std::min(to, x.size()); ++i) most = std::max(most, f(x, i));
  return most;
}

double AbsAt(const std::vector<double>& x, std::size_t i) { return std::fabs(x[i]); }

}  // namespace

double Db(double ratio) { return 10.0 * std::log10(ratio); }

Loudness MeasureLoudness(const Stereo& audio) {
  const std::vector<double> left = KWeighted(audio.left), right = KWeighted(audio.right);
  constexpr std::size_t kBlock = 400 * kMs, kHop = 100 * kMs;
  std::vector<double> blocks;  // mean square summed over the channels
  for (std::size_t start = 0; start + kBlock <= left.size(); start += kHop) {
    double sum = 0;
    for (std::size_t i = start; i < start + kBlock; ++i) sum += left[i] * left[i] + right[i] * right[i];
    blocks.push_back(sum / kBlock);
  }
  const double silence = -std::numeric_limits<double>::infinity();
  Loudness result{silence, silence};
  for (double z : blocks) result.momentaryMax = std::max(result.momentaryMax, BlockLoudness(z));
  double threshold = -70.0;  // the absolute gate, then the relative one 10 LU below the absolutely gated mean
  for (int pass = 0; pass < 2; ++pass) {
    double sum = 0;
    int count = 0;
    for (double z : blocks) {
      if (BlockLoudness(z) > threshold) {
        sum += z;
        ++count;
      }
    }
    if (count == 0) return result;
    result.integrated = BlockLoudness(sum / count);
    threshold = result.integrated - 10.0;
  }
  return result;
}

double PeakDb(const Stereo& audio) {
  const double peak =
      std::max(MaxOver(audio.left, 0, audio.Size(), AbsAt), MaxOver(audio.right, 0, audio.Size(), AbsAt));
  return 20.0 * std::log10(peak);
}

double DcDb(const std::vector<double>& x, std::size_t from, std::size_t to) {
  double sum = 0, squares = 0;
  for (std::size_t i = from; i < to; ++i) {
    sum += x[i];
    squares += x[i] * x[i];
  }
  const double n = static_cast<double>(to - from);
  return Db((sum / n) * (sum / n) / (squares / n));
}

double StepBetween(const std::vector<double>& with, const std::vector<double>& without, std::size_t at) {
  constexpr double kSame = 1e-9;
  for (std::size_t i = 0; i < at; ++i) {
    if (std::fabs(with[i] - without[i]) > kSame) return -1.0;
  }
  const double local = MaxOver(with, at > kAround ? at - kAround : 0, at + kAround, AbsAt);
  for (std::size_t i = at; i < without.size(); ++i) {
    const double jump = std::fabs(with[i] - without[i]);
    if (jump > kSame) return local > kInaudible ? jump / local : 0.0;
  }
  return 0.0;
}

double StepAt(const std::vector<double>& x, std::size_t at) {
  // An event takes effect at the next control tick or the one after it.
  const std::size_t from = at > kMs ? at - kMs : 0, to = at + 4 * kMs;
  const std::size_t before = from > kAround ? from - kAround : 0;
  const double own =
      std::max(MaxOver(x, before, from, AbsSecondDifference), MaxOver(x, to, to + kAround, AbsSecondDifference));
  const double local = MaxOver(x, before, to + kAround, AbsAt);
  const double jump = MaxOver(x, from, to, AbsSecondDifference) - own;
  return local > kInaudible ? std::max(0.0, jump) / local : 0.0;
}

double DecaySeconds(const std::vector<double>& x) {
  constexpr std::size_t kWindow = 5 * kMs;
  std::vector<double> level;
  for (std::size_t start = 0; start + kWindow <= x.size(); start += kWindow) {
    double sum = 0;
    for (std::size_t i = start; i < start + kWindow; ++i) sum += x[i] * x[i];
    level.push_back(sum);
  }
  const auto loudest = std::max_element(level.begin(), level.end());
  auto last = level.end();
  while (last != loudest && *(last - 1) < *loudest * 1e-4) --last;
  return static_cast<double>(last - level.begin()) * kWindow / kRate;
}

double BinHz() { return static_cast<double>(kRate) / kSpectrumSize; }

std::vector<double> PowerSpectrum(const std::vector<double>& x, std::size_t from) {
  std::vector<std::complex<double>> a(kSpectrumSize);
  for (std::size_t i = 0; i < a.size() && from + i < x.size(); ++i) {
    a[i] = x[from + i] * (0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / kSpectrumSize));
  }
  Fft(a);
  std::vector<double> power(kSpectrumSize / 2);
  for (std::size_t i = 0; i < power.size(); ++i) power[i] = std::norm(a[i]);
  return power;
}

double ShareAbove(const std::vector<double>& power, double hz) {
  double above = 0, total = 0;
  for (std::size_t i = 0; i < power.size(); ++i) {
    total += power[i];
    if (static_cast<double>(i) * BinHz() >= hz) above += power[i];
  }
  return total > 0 ? above / total : 0.0;
}

double CentroidHz(const std::vector<double>& power) {
  double weighted = 0, total = 0;
  for (std::size_t i = 0; i < power.size(); ++i) {
    weighted += power[i] * static_cast<double>(i) * BinHz();
    total += power[i];
  }
  return total > 0 ? weighted / total : 0.0;
}

double InharmonicDb(const std::vector<double>& power, double f0) {
  // Room for the window's main lobe and for the chorus's slow pitch wobble.
  constexpr double kTolerance = 4.0;
  double off = 0, total = 0;
  for (std::size_t i = 0; i < power.size(); ++i) {
    const double harmonic = std::round(static_cast<double>(i) * BinHz() / f0);
    total += power[i];
    if (std::fabs(static_cast<double>(i) - harmonic * f0 / BinHz()) > kTolerance) off += power[i];
  }
  return total > 0 ? Db(off / total) : -std::numeric_limits<double>::infinity();
}

}  // namespace audio
