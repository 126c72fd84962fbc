// Standard MIDI File reader. It takes any bytes: every length, count and
// variable-length number is checked against the data that is really there,
// and a file it cannot play whole is refused with a message naming the track
// and byte offset. Only what a synthesizer needs is kept: channel messages,
// tempo and time signature; sysex and other meta events are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace render {

// One channel voice message (note on/off, aftertouch, controller, program
// change, channel pressure, pitch bend) at its absolute tick.
struct SmfEvent {
  std::uint64_t tick = 0;
  std::uint16_t track = 0;
  std::uint8_t size = 0;  // 2 or 3 bytes
  std::uint8_t bytes[3] = {0, 0, 0};
};

struct SmfTempo {
  std::uint64_t tick = 0;
  std::uint32_t microsPerQuarter = 0;
};

struct SmfTimeSignature {
  std::uint64_t tick = 0;
  std::uint8_t numerator = 4;
  std::uint8_t denominator = 4;  // the note value itself (4 = quarter), not its power of two
};

// Timing of ticks: musical (ticks per quarter note, scaled by the tempo map)
// or absolute (SMPTE frames per second times ticks per frame).
struct SmfDivision {
  bool smpte = false;
  int ticksPerQuarter = 0;
  double framesPerSecond = 0.0;
  int ticksPerFrame = 0;
};

struct MidiSong {
  int format = 0;
  int trackCount = 0;
  SmfDivision division;
  std::vector<SmfEvent> events;              // ordered by tick, then track, then file order
  std::vector<SmfTempo> tempos;              // ordered by tick, then track
  std::vector<SmfTimeSignature> signatures;  // ordered by tick, then track
  std::uint64_t endTick = 0;                 // the latest tick any track reaches
};

struct MidiReadResult {
  bool ok = false;
  std::string error;  // one line, set when !ok
  MidiSong song;
};

MidiReadResult ReadMidiFile(const std::uint8_t* data, std::size_t size);

}  // namespace render
