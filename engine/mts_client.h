// One instance's link to the tuning master: registered with the tuning library
// for the instance's lifetime, it answers where a note starts (pitch index) and
// whether the master wants it ignored. Without an active master every note is
// equally tempered: note n starts at pitch index n * 128.
#pragma once

#include <array>

#include "engine/mts_library.h"

class MtsClient {
 public:
  explicit MtsClient(const MtsLibrary& library);
  ~MtsClient();
  MtsClient(const MtsClient&) = delete;
  MtsClient& operator=(const MtsClient&) = delete;

  // Audio thread, inside note handling. Note numbers are taken modulo 128.
  double TunedFrequency(int note) const;
  bool IsNoteFiltered(int note) const;
  // Where a note starts: with a master, the pitch index (4..17276) that a
  // 13-step binary search over NoteFrequency finds for the master's frequency;
  // without one, note * 128.
  int NoteToPitchIndex(int note) const;

 private:
  const MtsLibrary& mLibrary;
  std::array<double, 128> mEqualTemperament;
};
