#include "tests/host/event_list.h"

EventList::EventList() = default;

EventList& EventList::Midi(std::int32_t deltaFrames, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  if (used_ >= kCapacity) return *this;
  vst2::VstMidiEvent& event = midi_[used_];
  event.type = vst2::kVstMidiType;
  event.byteSize = sizeof(vst2::VstMidiEvent);
  event.deltaFrames = deltaFrames;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(data1);
  event.midiData[2] = static_cast<char>(data2);
  header_.events[used_++] = reinterpret_cast<vst2::VstEvent*>(&event);
  ++header_.numEvents;
  return *this;
}

EventList& EventList::SysEx(std::int32_t deltaFrames, char* dump, std::int32_t size) {
  if (used_ >= kCapacity) return *this;
  vst2::VstMidiSysexEvent& event = sysex_[used_];
  event.type = vst2::kVstSysExType;
  event.byteSize = sizeof(vst2::VstMidiSysexEvent);
  event.deltaFrames = deltaFrames;
  event.dumpBytes = size;
  event.sysexDump = dump;
  header_.events[used_++] = reinterpret_cast<vst2::VstEvent*>(&event);
  ++header_.numEvents;
  return *this;
}

EventList& EventList::Unknown(std::int32_t deltaFrames) {
  if (used_ >= kCapacity) return *this;
  constexpr std::int32_t kUndefinedEventType = 99;
  vst2::VstEvent& event = other_[used_];
  event.type = kUndefinedEventType;
  event.byteSize = sizeof(vst2::VstEvent);
  event.deltaFrames = deltaFrames;
  event.data[0] = static_cast<char>(kNoteOn);
  event.data[1] = 60;
  event.data[2] = 100;
  header_.events[used_++] = &event;
  ++header_.numEvents;
  return *this;
}

EventList& EventList::Null() {
  if (used_ >= kCapacity) return *this;
  header_.events[used_++] = nullptr;
  ++header_.numEvents;
  return *this;
}

EventList& EventList::ClaimCount(std::int32_t count) {
  header_.numEvents = count;
  return *this;
}

vst2::VstEvents* EventList::Events() { return reinterpret_cast<vst2::VstEvents*>(&header_); }
