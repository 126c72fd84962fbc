// The keys that are down, each with the velocity it was struck with, ordered
// by note number. Notes are MIDI data bytes (0..127); a fixed array keeps every
// operation free of allocation on the audio thread.
#pragma once

#include <array>

class HeldNoteMap {
 public:
  static constexpr int kNoteCount = 128;

  // Out-of-range notes are ignored. A note already held gets the new velocity.
  void Store(int note, int velocity);
  void Remove(int note);
  void Clear();

  bool Empty() const { return mCount == 0; }
  bool Contains(int note) const;
  // The highest held note and its velocity; false when none is held.
  bool Highest(int& note, int& velocity) const;

 private:
  static constexpr int kNotHeld = -1;

  std::array<int, kNoteCount> mVelocity = MakeEmpty();
  int mCount = 0;

  static constexpr std::array<int, kNoteCount> MakeEmpty() {
    std::array<int, kNoteCount> empty{};
    for (int& velocity : empty) velocity = kNotHeld;
    return empty;
  }
};
