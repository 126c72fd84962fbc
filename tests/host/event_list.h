// A VST 2 event list as a host builds it for effProcessEvents: a count, a
// reserved field and the event pointers, followed by the events themselves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/vst2/vst2_abi.h"

class EventList {
 public:
  static constexpr int kCapacity = 64;

  EventList();
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  EventList& Midi(std::int32_t deltaFrames, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  EventList& SysEx(std::int32_t deltaFrames, char* dump, std::int32_t size);
  // An event of a type the interface does not define.
  EventList& Unknown(std::int32_t deltaFrames);
  // A null pointer in the list, which the plug-in must skip.
  EventList& Null();
  // Claims `count` events whatever the list holds (a broken host).
  EventList& ClaimCount(std::int32_t count);

  vst2::VstEvents* Events();

 private:
  // The published record declares two event pointers; hosts allocate as many
  // as they send. Same layout, more room.
  struct Header {
    std::int32_t numEvents;
    vst2::IntPtr reserved;
    vst2::VstEvent* events[kCapacity];
  };
  static_assert(offsetof(Header, events) == offsetof(vst2::VstEvents, events), "event list layout");

  Header header_{};
  vst2::VstMidiEvent midi_[kCapacity]{};
  vst2::VstMidiSysexEvent sysex_[kCapacity]{};
  vst2::VstEvent other_[kCapacity]{};
  int used_ = 0;
};

// MIDI status bytes on channel 1.
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kPitchBend = 0xE0;
