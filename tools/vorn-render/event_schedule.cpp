#include "tools/vorn-render/event_schedule.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

namespace render {

std::int64_t SecondsToFrames(double seconds, double sampleRate) {
  return static_cast<std::int64_t>(std::llround(seconds * sampleRate));
}

EventSchedule::EventSchedule(const MidiSong& song, const TempoMap& tempoMap, double sampleRate,
                             std::int32_t blockSize) {
  events_.reserve(song.events.size());
  frames_.reserve(song.events.size());
  for (const SmfEvent& source : song.events) {
    vst2::VstMidiEvent event{};
    event.type = vst2::kVstMidiType;
    event.byteSize = sizeof(vst2::VstMidiEvent);
    for (int i = 0; i < source.size; ++i) event.midiData[i] = static_cast<char>(source.bytes[i]);
    events_.push_back(event);
    frames_.push_back(SecondsToFrames(tempoMap.SecondsAt(source.tick), sampleRate));
  }
  endFrame_ = SecondsToFrames(tempoMap.SecondsAt(song.endTick), sampleRate);
  if (!frames_.empty()) endFrame_ = std::max(endFrame_, frames_.back() + 1);

  // The busiest block decides the list's capacity.
  std::size_t most = 0;
  for (std::size_t first = 0, last = 0; first < frames_.size(); first = last) {
    const std::int64_t block = frames_[first] / blockSize;
    last = first;
    while (last < frames_.size() && frames_[last] / blockSize == block) ++last;
    most = std::max(most, last - first);
  }
  const std::size_t pointers = std::max<std::size_t>(most, 2);
  const std::size_t bytes = offsetof(vst2::VstEvents, events) + pointers * sizeof(vst2::VstEvent*);
  static_assert(alignof(vst2::VstEvents) <= alignof(vst2::IntPtr), "event list alignment");
  listStorage_.assign((bytes + sizeof(vst2::IntPtr) - 1) / sizeof(vst2::IntPtr), 0);
  list_ = new (listStorage_.data()) vst2::VstEvents{};
  slots_ = reinterpret_cast<vst2::VstEvent**>(reinterpret_cast<unsigned char*>(listStorage_.data()) +
                                              offsetof(vst2::VstEvents, events));
}

vst2::VstEvents* EventSchedule::EventsForBlock(std::int64_t blockStart, std::int32_t frames) {
  std::int32_t count = 0;
  while (next_ < events_.size() && frames_[next_] < blockStart + frames) {
    vst2::VstMidiEvent& event = events_[next_];
    event.deltaFrames = static_cast<std::int32_t>(std::max<std::int64_t>(0, frames_[next_] - blockStart));
    slots_[count++] = reinterpret_cast<vst2::VstEvent*>(&event);
    ++next_;
  }
  list_->numEvents = count;
  return count > 0 ? list_ : nullptr;
}

}  // namespace render
