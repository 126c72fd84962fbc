// The song's channel messages as VST 2 MIDI events at absolute sample frames,
// handed out block by block. All storage is made up front, so taking a
// block's events during rendering allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/vst2/vst2_abi.h"
#include "tools/vorn-render/midi_file.h"
#include "tools/vorn-render/tempo_map.h"

namespace render {

class EventSchedule {
 public:
  EventSchedule(const MidiSong& song, const TempoMap& tempoMap, double sampleRate, std::int32_t blockSize);

  // The events in [blockStart, blockStart + frames) with deltaFrames relative
  // to blockStart, or null when the block has none. Blocks must be asked for
  // in order; the list stays valid until the next call.
  vst2::VstEvents* EventsForBlock(std::int64_t blockStart, std::int32_t frames);

  std::int64_t EndFrame() const { return endFrame_; }
  std::size_t EventCount() const { return events_.size(); }

 private:
  std::vector<vst2::VstMidiEvent> events_;
  std::vector<std::int64_t> frames_;
  std::size_t next_ = 0;
  std::int64_t endFrame_ = 0;
  // A VstEvents with room for the busiest block's pointers; pointer-sized
  // elements give it the record's alignment.
  std::vector<vst2::IntPtr> listStorage_;
  vst2::VstEvents* list_ = nullptr;
  vst2::VstEvent** slots_ = nullptr;
};

std::int64_t SecondsToFrames(double seconds, double sampleRate);

}  // namespace render
