// Once warmed up, the audio-thread entry points never touch the heap: MIDI in,
// rendering with every feature busy, voice stealing, a full event queue,
// parameter changes from mapped controllers, and tuning lookups.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "engine/engine_parameter.h"
#include "engine/mts_library.h"
#include "engine/platform/mts_library_loader.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

TEST(Allocation, AudioThreadEntryPointsDoNotAllocateAfterWarmUp) {
  MtsLibrary tuning(FAKE_MTS_PATH);
  // A master is active, so every note start runs the tuning search.
  tuning_library::Handle controls = tuning_library::Open(FAKE_MTS_PATH);
  auto setMaster = reinterpret_cast<void (*)(bool)>(tuning_library::Find(controls, "FakeMts_SetMaster"));
  ASSERT_NE(setMaster, nullptr);
  setMaster(true);
  RecordingHost host;
  host.mapped.reserve(100000);  // the recording host must not allocate either
  host.offered.reserve(100000);
  SynthEngine engine(host, tuning);
  engine.Reset(48000, 512);
  ApplyPatch(engine, {{p::kChorus, 1},
                      {p::kSync, 1},
                      {p::kFmAmount, 60},
                      {p::kFilterMode, 1},
                      {p::kPortamento, 0.05},
                      {p::kLfoWave, 2}});
  std::vector<double> left(512), right(512);
  engine.RenderBlock(left.data(), right.data(), 512);

  const std::size_t before = AllocationCount();
  for (int block = 0; block < 400; ++block) {
    for (int i = 0; i < 12; ++i) NoteOn(engine, (block * 7 + i * 5) % 128, 1 + (block + i) % 127, i * 40);
    SendMidi(engine, 0xB0, 1, block % 128, 100);
    SendMidi(engine, 0xB0, 64, (block % 3) * 60, 200);
    SendMidi(engine, 0xB0, 7, block % 128, 300);
    SendMidi(engine, 0xE0, block % 128, 64, 400);
    for (int i = 0; i < 6; ++i) NoteOff(engine, (block * 11 + i * 3) % 128, 500);
    if (block % 50 == 0) SendMidi(engine, 0xB0, 123, 0);
    if (block % 97 == 0) {
      SetParameter(engine, p::kMonophon, (block / 97) % 3);
      SetParameter(engine, p::kFilterFrequency, block * 40.0);
    }
    engine.RenderBlock(left.data(), right.data(), 512);
  }
  // Far more events than the queue holds: the rest are dropped, not stored.
  for (int i = 0; i < 5000; ++i) NoteOn(engine, i % 128, 100, i % 512);
  engine.RenderBlock(left.data(), right.data(), 512);
  engine.ReleaseAllVoices();
  engine.RenderBlock(left.data(), right.data(), 512);
  const std::size_t during = AllocationCount() - before;

  setMaster(false);
  tuning_library::Close(controls);
  EXPECT_EQ(during, 0u) << (CountsMalloc() ? "operator new and malloc" : "operator new");
  EXPECT_FALSE(host.mapped.empty());

  // The counter itself works.
  const std::size_t probe = AllocationCount();
  auto* block = new std::vector<double>(100);
  EXPECT_GE(AllocationCount(), probe + 2);
  delete block;
}
