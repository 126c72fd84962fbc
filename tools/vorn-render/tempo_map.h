// Converts a song's ticks into seconds and seconds into musical position.
//
// Musical division: a tick lasts microsPerQuarter / ticksPerQuarter us, with
// the tempo in force at that tick (120 BPM before the first tempo event); tempo
// events of every track count. SMPTE division: a tick lasts
// 1 / (framesPerSecond * ticksPerFrame) s whatever the tempo; tempo events then
// only give the musical position reported to the plug-in.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vorn-render/midi_file.h"

namespace render {

struct MusicalPosition {
  double tempo = 0.0;     // beats (quarter notes) per minute
  double quarters = 0.0;  // quarter notes since the start
  double barStart = 0.0;  // quarter notes at the start of the current bar
  int numerator = 4;
  int denominator = 4;
};

class TempoMap {
 public:
  explicit TempoMap(const MidiSong& song);

  double SecondsAt(std::uint64_t tick) const;
  MusicalPosition PositionAt(double seconds) const;

 private:
  // A stretch of constant tempo, located both in ticks and in seconds.
  struct Segment {
    std::uint64_t tick;
    double seconds;
    double quarters;
    double secondsPerQuarter;
  };
  struct Signature {
    double quarters;
    int numerator;
    int denominator;
  };

  double SecondsPerTick(const Segment& segment) const;
  const Segment& SegmentAtSeconds(double seconds) const;

  SmfDivision division_;
  std::vector<Segment> segments_;  // first one starts at tick 0
  std::vector<Signature> signatures_;
};

}  // namespace render
