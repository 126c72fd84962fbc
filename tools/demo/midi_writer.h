// Standard MIDI File writer: tracks of events at absolute ticks, encoded with
// delta times, optionally with running status, and an End of Track meta
// event. Used for the demo piece, the reader's tests and its fuzz seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

class MidiTrack {
 public:
  void Name(const std::string& text);
  void Tempo(std::uint64_t tick, double beatsPerMinute);
  void TimeSignature(std::uint64_t tick, int numerator, int denominator);
  void Note(std::uint64_t tick, std::uint64_t length, int channel, int key, int velocity);
  void Controller(std::uint64_t tick, int channel, int controller, int value);
  void ProgramChange(std::uint64_t tick, int channel, int program);
  void PitchBend(std::uint64_t tick, int channel, int value);             // 0 .. 16383, 8192 centre
  void SysEx(std::uint64_t tick, const std::vector<std::uint8_t>& body);  // without the leading F0
  // Any bytes, written as they stand after the delta time.
  void Raw(std::uint64_t tick, const std::vector<std::uint8_t>& bytes);
  // The End of Track event is placed here or at the last event, whichever is later.
  void EndAt(std::uint64_t tick) { end_ = tick; }

  // The whole "MTrk" chunk.
  std::vector<std::uint8_t> Encode(bool runningStatus) const;

 private:
  // At one tick, meta events come first and note-offs before note-ons, so a
  // repeated note is released before it sounds again.
  enum Priority { kMetaFirst = 0, kReleaseSecond = 1, kOtherLast = 2 };
  struct Item {
    std::uint64_t tick;
    Priority priority;
    std::vector<std::uint8_t> bytes;
  };
  void Add(std::uint64_t tick, Priority priority, std::vector<std::uint8_t> bytes);

  std::vector<Item> items_;
  std::uint64_t end_ = 0;
};

// Header "MThd" with format (0 or 1), the track count and ticks per quarter
// note, then every track.
std::vector<std::uint8_t> EncodeMidiFile(int format, int ticksPerQuarter, const std::vector<MidiTrack>& tracks,
                                         bool runningStatus = true);

bool SaveBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace demo
