// MIDI events waiting for their control tick, kept in non-decreasing order of
// frame offset (events with equal offsets in arrival order). Offsets count
// samples from the start of the current control block's tick.
//
// Storage is sized only by construction and Reconfigure, which run outside the
// audio path; Insert, TakeDue and EndTick never allocate. When the array is
// full, consumed events make room, and failing that the new event is dropped.
#pragma once

#include <memory>

#include "engine/midi_event.h"

class EventQueue {
 public:
  static constexpr int kInitialCapacity = 1024;
  static constexpr int kCapacityQuantum = 512;
  static constexpr int kMaxCapacity = 1 << 18;

  EventQueue();

  // Audio thread. Answers false when the event was dropped.
  bool Insert(const MidiEvent& event);

  // Audio thread, once per control tick: TakeDue hands out, in order, each
  // event whose offset is at most blockLength and marks it consumed; EndTick
  // then drops the consumed events and moves every other one blockLength
  // samples closer.
  bool TakeDue(int blockLength, MidiEvent& event);
  void EndTick(int blockLength);

  // Drops consumed events and sizes the array for a host block:
  // hostBlockSize rounded up to a multiple of 512, never fewer than the events
  // still queued nor 512, never more than kMaxCapacity. A failed allocation
  // keeps the old array. Not for the audio thread.
  void Reconfigure(int hostBlockSize);
  void Clear();

  int Pending() const { return mCount - mRead; }
  int Capacity() const { return mCapacity; }
  // The i-th event not yet consumed.
  const MidiEvent& PendingAt(int i) const { return mEvents[mRead + i]; }

 private:
  void DropConsumed();

  std::unique_ptr<MidiEvent[]> mEvents;
  int mCapacity = 0;
  int mCount = 0;
  int mRead = 0;
};
