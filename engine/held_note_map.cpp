#include "engine/held_note_map.h"

namespace {

bool IsNote(int note) { return note >= 0 && note < HeldNoteMap::kNoteCount; }

}  // namespace

void HeldNoteMap::Store(int note, int velocity) {
  if (!IsNote(note)) return;
  if (mVelocity[note] == kNotHeld) ++mCount;
  mVelocity[note] = velocity;
}

void HeldNoteMap::Remove(int note) {
  if (!IsNote(note) || mVelocity[note] == kNotHeld) return;
  mVelocity[note] = kNotHeld;
  --mCount;
}

void HeldNoteMap::Clear() {
  mVelocity = MakeEmpty();
  mCount = 0;
}

bool HeldNoteMap::Contains(int note) const { return IsNote(note) && mVelocity[note] != kNotHeld; }

bool HeldNoteMap::Highest(int& note, int& velocity) const {
  if (mCount == 0) return false;
  for (int n = kNoteCount - 1; n >= 0; --n) {
    if (mVelocity[n] != kNotHeld) {
      note = n;
      velocity = mVelocity[n];
      return true;
    }
  }
  return false;
}
