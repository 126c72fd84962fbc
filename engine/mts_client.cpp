#include "engine/mts_client.h"

#include <cmath>

#include "engine/note_frequency.h"

namespace {

constexpr int kNoteMask = 127;
constexpr int kSearchStart = kMaxPitchIndex / 2;

}  // namespace

MtsClient::MtsClient(const MtsLibrary& library) : mLibrary(library) {
  for (int note = 0; note <= kNoteMask; ++note) {
    mEqualTemperament[note] = 440.0 * std::pow(2.0, (note - 69) / 12.0);
  }
  mLibrary.RegisterClient();
}

MtsClient::~MtsClient() { mLibrary.DeregisterClient(); }

double MtsClient::TunedFrequency(int note) const {
  const int index = note & kNoteMask;
  return mLibrary.HasActiveMaster() ? mLibrary.MasterFrequency(index) : mEqualTemperament[index];
}

bool MtsClient::IsNoteFiltered(int note) const { return mLibrary.ShouldFilterNote(note); }

int MtsClient::NoteToPitchIndex(int note) const {
  if (!mLibrary.HasActiveMaster()) return note * kPitchStepsPerSemitone;
  const double target = TunedFrequency(note);
  int pitch = kSearchStart;
  int step = kSearchStart;
  while (step != 0) {
    const double frequency = NoteFrequency(pitch);
    step /= 2;
    if (target < frequency) {
      pitch -= step;
    } else if (target > frequency) {
      pitch += step;
    } else {
      break;
    }
  }
  return pitch;
}
