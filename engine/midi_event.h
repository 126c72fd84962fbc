// A short MIDI message as the engine receives and queues it.
#pragma once

#include <cstdint>

struct MidiEvent {
  std::int32_t frameOffset = 0;  // samples from the start of the current host block
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};
