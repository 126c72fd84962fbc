// A stand-in for the MTS-ESP tuning library: the entry points the engine uses,
// backed by a table and switches that a test sets through the FakeMts_
// functions. Builds as a shared library on Linux and as LIBMTS.dll with mingw.
#include <cmath>

#if defined(_WIN32)
#define FAKE_MTS_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_MTS_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

constexpr int kNotes = 128;

double gTable[kNotes];
bool gFiltered[kNotes];
bool gHasMaster = false;
int gRegisteredClients = 0;
int gLastFilterChannel = 0;

void FillEqualTemperament() {
  for (int note = 0; note < kNotes; ++note) gTable[note] = 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

struct Startup {
  Startup() { FillEqualTemperament(); }
} gStartup;

}  // namespace

FAKE_MTS_EXPORT void MTS_RegisterClient() { ++gRegisteredClients; }
FAKE_MTS_EXPORT void MTS_DeregisterClient() { --gRegisteredClients; }
FAKE_MTS_EXPORT bool MTS_HasMaster() { return gHasMaster; }
FAKE_MTS_EXPORT const double* MTS_GetTuningTable() { return gTable; }

FAKE_MTS_EXPORT bool MTS_ShouldFilterNote(char note, char channel) {
  gLastFilterChannel = channel;
  const int index = static_cast<unsigned char>(note) & (kNotes - 1);
  return gFiltered[index];
}

// Test controls.
FAKE_MTS_EXPORT void FakeMts_Restore() {
  FillEqualTemperament();
  for (bool& filtered : gFiltered) filtered = false;
  gHasMaster = false;
  gLastFilterChannel = 0;
}
FAKE_MTS_EXPORT void FakeMts_SetMaster(bool present) { gHasMaster = present; }
FAKE_MTS_EXPORT void FakeMts_SetFrequency(int note, double hertz) { gTable[note & (kNotes - 1)] = hertz; }
FAKE_MTS_EXPORT void FakeMts_SetFiltered(int note, bool filtered) { gFiltered[note & (kNotes - 1)] = filtered; }
FAKE_MTS_EXPORT int FakeMts_RegisteredClients() { return gRegisteredClients; }
FAKE_MTS_EXPORT int FakeMts_LastFilterChannel() { return gLastFilterChannel; }
