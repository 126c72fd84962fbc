#include "engine/note_frequency.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kLowestNoteHz = 8.176;
constexpr double kHighestNoteHz = 19912.127;
constexpr double kLowestDownwardHz = 0.0033570162;

double RoundTo(double value, double scale) { return std::round(value * scale) / scale; }

struct NoteTables {
  std::array<double, kNoteFrequencyTableSize> up{};
  std::array<double, kNoteFrequencyTableSize> down{};

  NoteTables() {
    for (int n = 0; n < kNoteFrequencyTableSize; ++n) {
      up[n] = RoundTo(440.0 * std::pow(2.0, (n - 69) / 12.0), 1e3);
      down[n] = RoundTo(kLowestNoteHz * std::pow(2.0, -n / 12.0), 1e10);
    }
  }
};

const NoteTables& Tables() {
  static const NoteTables tables;
  return tables;
}

}  // namespace

double NoteFrequency(int pitchIndex) {
  if (pitchIndex == 0) return kLowestNoteHz;
  if (pitchIndex >= kMaxPitchIndex) return kHighestNoteHz;
  if (pitchIndex <= -kMaxPitchIndex) return kLowestDownwardHz;
  const int magnitude = std::abs(pitchIndex);
  const int semitone = magnitude >> 7;
  const int fraction = magnitude & 127;
  const auto& table = pitchIndex > 0 ? Tables().up : Tables().down;
  const double t0 = table[static_cast<std::size_t>(semitone)];
  const double t1 = table[static_cast<std::size_t>(semitone) + 1];
  return (t1 - t0) * fraction * 0.0078125 + t0;
}
