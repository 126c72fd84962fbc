// Microtuning through a stand-in tuning library (fake_mts) that the test drives:
// registration, the pitch search, note filtering, and equal temperament when
// the library or its master is missing.
#include <gtest/gtest.h>

#include "engine/engine_parameter.h"
#include "engine/mts_client.h"
#include "engine/mts_library.h"
#include "engine/platform/mts_library_loader.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

namespace {

// The test's own handle on the stand-in library and its controls; the same
// loaded copy the engine talks to.
class FakeTuningLibrary : public ::testing::Test {
 protected:
  FakeTuningLibrary() : library(FAKE_MTS_PATH), handle(tuning_library::Open(FAKE_MTS_PATH)) {
    restore = Control<void (*)()>("FakeMts_Restore");
    setMaster = Control<void (*)(bool)>("FakeMts_SetMaster");
    setFrequency = Control<void (*)(int, double)>("FakeMts_SetFrequency");
    setFiltered = Control<void (*)(int, bool)>("FakeMts_SetFiltered");
    registeredClients = Control<int (*)()>("FakeMts_RegisteredClients");
    lastFilterChannel = Control<int (*)()>("FakeMts_LastFilterChannel");
    restore();
  }
  ~FakeTuningLibrary() override {
    restore();
    tuning_library::Close(handle);
  }

  template <typename Function>
  Function Control(const char* name) {
    auto entry = reinterpret_cast<Function>(tuning_library::Find(handle, name));
    EXPECT_NE(entry, nullptr) << name;
    return entry;
  }

  MtsLibrary library;
  tuning_library::Handle handle;
  void (*restore)() = nullptr;
  void (*setMaster)(bool) = nullptr;
  void (*setFrequency)(int, double) = nullptr;
  void (*setFiltered)(int, bool) = nullptr;
  int (*registeredClients)() = nullptr;
  int (*lastFilterChannel)() = nullptr;
};

}  // namespace

TEST(Tuning, WithoutTheLibraryNotesAreEquallyTempered) {
  MtsLibrary missing("/nonexistent/libMTS.so");
  EXPECT_FALSE(missing.IsLoaded());
  MtsClient client(missing);
  EXPECT_EQ(client.NoteToPitchIndex(69), 8832);
  EXPECT_FALSE(client.IsNoteFiltered(69));
  EXPECT_DOUBLE_EQ(client.TunedFrequency(69), 440.0);

  RecordingHost host;
  SynthEngine engine(host, missing);
  engine.Reset(44100, 512);
  ApplyPlainPatch(engine);
  NoteOn(engine, 69);
  Render(engine, 100);
  EXPECT_EQ(engine.VoiceAt(0).CurrentPitch(), 8832);
}

TEST_F(FakeTuningLibrary, EachInstanceRegistersForItsLifetime) {
  ASSERT_TRUE(library.IsLoaded());
  const int before = registeredClients();
  {
    RecordingHost host;
    SynthEngine first(host, library);
    SynthEngine second(host, library);
    EXPECT_EQ(registeredClients(), before + 2);
  }
  EXPECT_EQ(registeredClients(), before);
}

TEST_F(FakeTuningLibrary, MasterFrequenciesBecomePitchIndices) {
  MtsClient client(library);
  setFrequency(60, 261.626);
  setFrequency(61, 5.0);
  setFrequency(62, 25000.0);
  // The table counts only while a master is present.
  EXPECT_EQ(client.NoteToPitchIndex(62), 62 * 128);
  setMaster(true);
  EXPECT_EQ(client.NoteToPitchIndex(60), 7680);
  EXPECT_EQ(client.NoteToPitchIndex(61), 4);
  EXPECT_EQ(client.NoteToPitchIndex(62), 17276);
  EXPECT_EQ(client.NoteToPitchIndex(69), 8832);
  // A quarter tone up lands within one step of 69.5 semitones.
  setFrequency(69, 440.0 * std::pow(2.0, 0.5 / 12.0));
  EXPECT_NEAR(client.NoteToPitchIndex(69), 8896, 1);
  // Note numbers wrap at 128 as the table does.
  EXPECT_EQ(client.NoteToPitchIndex(60 + 128), 7680);

  RecordingHost host;
  SynthEngine engine(host, library);
  engine.Reset(48000, 512);
  ApplyPlainPatch(engine);
  setFrequency(57, 440.0);
  NoteOn(engine, 57);
  const std::vector<double> out = Render(engine, 48000).left;
  EXPECT_EQ(engine.VoiceAt(0).CurrentPitch(), 8832);
  EXPECT_NEAR(MeasureFrequency(std::vector<double>(out.begin() + 4800, out.end()), 48000), 440.0, 0.05);
}

TEST_F(FakeTuningLibrary, FilteredNotesAreIgnoredButTheirNoteOffStillReleases) {
  RecordingHost host;
  SynthEngine engine(host, library);
  engine.Reset(48000, 512);
  ApplyPlainPatch(engine);
  NoteOn(engine, 61);
  Render(engine, 48);
  ASSERT_TRUE(engine.VoiceAt(0).IsKeyDown());

  setMaster(true);
  setFiltered(61, true);
  setFiltered(64, true);
  NoteOn(engine, 64);
  Render(engine, 48);
  EXPECT_EQ(lastFilterChannel(), -1);
  EXPECT_FALSE(engine.HeldNotes().Contains(64));
  for (int v = 1; v < 64; ++v) EXPECT_TRUE(engine.VoiceAt(v).IsFree());

  NoteOff(engine, 61);
  Render(engine, 48);
  EXPECT_FALSE(engine.VoiceAt(0).IsKeyDown());
  EXPECT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kRelease);

  // Without a master nothing is filtered.
  setMaster(false);
  NoteOn(engine, 64);
  Render(engine, 48);
  EXPECT_TRUE(engine.HeldNotes().Contains(64));
}

TEST_F(FakeTuningLibrary, AGlideEndsOnTheTunedPitch) {
  RecordingHost host;
  SynthEngine engine(host, library);
  engine.Reset(44100, 44);
  ApplyPlainPatch(engine, {{p::kMonophon, 1}, {p::kPortamento, 0.1}});
  setMaster(true);
  setFrequency(72, 540.0);
  const int tuned = MtsClient(library).NoteToPitchIndex(72);
  ASSERT_NE(tuned, 72 * 128);
  NoteOn(engine, 60);
  Render(engine, 44 * 100, 44);
  NoteOn(engine, 72);
  Render(engine, 44 * 100, 44);
  EXPECT_EQ(engine.VoiceAt(0).CurrentPitch(), tuned);
}
