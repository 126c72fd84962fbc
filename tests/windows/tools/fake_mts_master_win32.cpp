// Makes the fake tuning library act as a tuning master when it is loaded.
// Under Wine the plug-in loads LIBMTS.dll from the system folder into a host
// (vorn-render.exe) that knows nothing of the fake's test controls, so the
// library sets them itself: a master is present and every note sits
// VORN_TEST_MASTER_CENTS above equal temperament, so that both equal
// temperament and a neighbouring note's entry are told apart from the master's.
#include <windows.h>

#include <cmath>

extern "C" void FakeMts_SetMaster(bool present);
extern "C" void FakeMts_SetFrequency(int note, double hertz);

namespace {

constexpr int kNotes = 128;
constexpr double kConcertA = 440.0;
constexpr int kConcertANote = 69;

double MasterFrequency(int note) {
  return kConcertA * std::pow(2.0, (note - kConcertANote) / 12.0 + VORN_TEST_MASTER_CENTS / 1200.0);
}

}  // namespace

// Called by the Windows loader once the library's static objects exist (the
// fake fills its table with equal temperament there), under the loader lock.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    for (int note = 0; note < kNotes; ++note) FakeMts_SetFrequency(note, MasterFrequency(note));
    FakeMts_SetMaster(true);
  }
  return TRUE;
}
