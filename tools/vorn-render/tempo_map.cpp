#include "tools/vorn-render/tempo_map.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

constexpr double kDefaultSecondsPerQuarter = 0.5;  // 120 BPM until a tempo event says otherwise
constexpr double kMicrosPerSecond = 1e6;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kQuartersPerWholeNote = 4.0;

}  // namespace

TempoMap::TempoMap(const MidiSong& song) : division_(song.division) {
  segments_.push_back({0, 0.0, 0.0, kDefaultSecondsPerQuarter});
  for (const SmfTempo& tempo : song.tempos) {
    const Segment& last = segments_.back();
    const double seconds = last.seconds + static_cast<double>(tempo.tick - last.tick) * SecondsPerTick(last);
    const double quarters = last.quarters + (seconds - last.seconds) / last.secondsPerQuarter;
    const double secondsPerQuarter = tempo.microsPerQuarter / kMicrosPerSecond;
    if (tempo.tick == last.tick)
      segments_.back().secondsPerQuarter = secondsPerQuarter;  // the later event at one tick wins
    else
      segments_.push_back({tempo.tick, seconds, quarters, secondsPerQuarter});
  }
  for (const SmfTimeSignature& signature : song.signatures) {
    const double quarters = PositionAt(SecondsAt(signature.tick)).quarters;
    if (!signatures_.empty() && signatures_.back().quarters >= quarters) signatures_.pop_back();
    signatures_.push_back({quarters, signature.numerator, signature.denominator});
  }
}

double TempoMap::SecondsPerTick(const Segment& segment) const {
  if (division_.smpte) return 1.0 / (division_.framesPerSecond * division_.ticksPerFrame);
  return segment.secondsPerQuarter / division_.ticksPerQuarter;
}

double TempoMap::SecondsAt(std::uint64_t tick) const {
  auto next = std::upper_bound(segments_.begin(), segments_.end(), tick,
                               [](std::uint64_t t, const Segment& s) { return t < s.tick; });
  const Segment& segment = *(next - 1);
  return segment.seconds + static_cast<double>(tick - segment.tick) * SecondsPerTick(segment);
}

const TempoMap::Segment& TempoMap::SegmentAtSeconds(double seconds) const {
  auto next = std::upper_bound(segments_.begin(), segments_.end(), seconds,
                               [](double s, const Segment& segment) { return s < segment.seconds; });
  return next == segments_.begin() ? segments_.front() : *(next - 1);
}

MusicalPosition TempoMap::PositionAt(double seconds) const {
  const Segment& segment = SegmentAtSeconds(seconds);
  MusicalPosition position;
  position.tempo = kSecondsPerMinute / segment.secondsPerQuarter;
  position.quarters = segment.quarters + (seconds - segment.seconds) / segment.secondsPerQuarter;
  double signatureStart = 0.0;
  for (const Signature& signature : signatures_) {
    if (signature.quarters > position.quarters + 1e-9) break;
    signatureStart = signature.quarters;
    position.numerator = signature.numerator;
    position.denominator = signature.denominator;
  }
  const double barLength = position.numerator * kQuartersPerWholeNote / position.denominator;
  position.barStart = signatureStart + std::floor((position.quarters - signatureStart) / barLength + 1e-9) * barLength;
  return position;
}

}  // namespace render
