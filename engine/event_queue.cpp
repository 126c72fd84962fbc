#include "engine/event_queue.h"

#include <algorithm>
#include <new>

EventQueue::EventQueue() : mEvents(new MidiEvent[kInitialCapacity]), mCapacity(kInitialCapacity) {}

bool EventQueue::Insert(const MidiEvent& event) {
  if (mCount >= mCapacity) {
    if (mRead == 0) return false;
    DropConsumed();
  }
  // After the last pending event whose offset does not exceed the new one.
  int position = mCount;
  while (position > mRead && mEvents[position - 1].frameOffset > event.frameOffset) --position;
  MidiEvent* events = mEvents.get();
  std::move_backward(events + position, events + mCount, events + mCount + 1);
  events[position] = event;
  ++mCount;
  return true;
}

bool EventQueue::TakeDue(int blockLength, MidiEvent& event) {
  if (mRead >= mCount || mEvents[mRead].frameOffset > blockLength) return false;
  event = mEvents[mRead++];
  return true;
}

void EventQueue::EndTick(int blockLength) {
  DropConsumed();
  for (int i = 0; i < mCount; ++i) mEvents[i].frameOffset -= blockLength;
}

void EventQueue::DropConsumed() {
  MidiEvent* events = mEvents.get();
  std::move(events + mRead, events + mCount, events);
  mCount -= mRead;
  mRead = 0;
}

void EventQueue::Reconfigure(int hostBlockSize) {
  DropConsumed();
  const int wanted = std::min(std::max({hostBlockSize, mCount, 1}), kMaxCapacity);
  const int capacity = (wanted + kCapacityQuantum - 1) / kCapacityQuantum * kCapacityQuantum;
  if (capacity == mCapacity) return;
  std::unique_ptr<MidiEvent[]> events(new (std::nothrow) MidiEvent[capacity]);
  if (!events) return;
  std::copy(mEvents.get(), mEvents.get() + mCount, events.get());
  mEvents = std::move(events);
  mCapacity = capacity;
}

void EventQueue::Clear() {
  mCount = 0;
  mRead = 0;
}
