// Messages the binding hands to the plug-in, independent of the host format.
// The sound engine keeps its own record of a timed MIDI message
// (engine/midi_event.h): the frame and the engine know nothing of each other,
// and the product converts between the two.
#pragma once

#include <cstdint>

struct MidiMessage {
  std::int32_t frameOffset = 0;  // samples from the start of the current host block
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

struct SysExMessage {
  std::int32_t frameOffset = 0;
  std::int32_t size = 0;
  const std::uint8_t* data = nullptr;  // valid only during the call
};
