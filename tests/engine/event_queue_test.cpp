// The event queue's ordering, capacity and consumption rules, and how the
// engine cuts host blocks into control blocks and schedules events on ticks.
#include <gtest/gtest.h>

#include "engine/event_queue.h"
#include "engine_test_support.h"

namespace {

MidiEvent Event(int offset, int tag) {
  MidiEvent event;
  event.frameOffset = offset;
  event.status = 0x90;
  event.data1 = static_cast<std::uint8_t>(tag);
  event.data2 = 1;
  return event;
}

std::vector<int> PendingTags(const EventQueue& queue) {
  std::vector<int> tags;
  for (int i = 0; i < queue.Pending(); ++i) tags.push_back(queue.PendingAt(i).data1);
  return tags;
}

}  // namespace

TEST(EventQueue, KeepsOffsetOrderAndArrivalOrderForEqualOffsets) {
  EventQueue queue;
  queue.Insert(Event(10, 1));
  queue.Insert(Event(5, 2));
  queue.Insert(Event(5, 3));
  queue.Insert(Event(20, 4));
  queue.Insert(Event(7, 5));
  queue.Insert(Event(0, 6));
  EXPECT_EQ(PendingTags(queue), (std::vector<int>{6, 2, 3, 5, 1, 4}));
}

TEST(EventQueue, FullQueueMakesRoomFromConsumedEventsOrDropsTheNewOne) {
  EventQueue queue;
  ASSERT_EQ(queue.Capacity(), EventQueue::kInitialCapacity);
  for (int i = 0; i < queue.Capacity(); ++i) ASSERT_TRUE(queue.Insert(Event(i, i & 127)));
  EXPECT_FALSE(queue.Insert(Event(5000, 1)));
  EXPECT_EQ(queue.Pending(), EventQueue::kInitialCapacity);

  MidiEvent event;
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(queue.TakeDue(100000, event));
  EXPECT_TRUE(queue.Insert(Event(3, 99)));  // compacts the ten consumed events
  EXPECT_EQ(queue.Capacity(), EventQueue::kInitialCapacity);
  EXPECT_EQ(queue.Pending(), EventQueue::kInitialCapacity - 9);
  EXPECT_EQ(queue.PendingAt(0).data1, 99);
  EXPECT_EQ(queue.PendingAt(1).frameOffset, 10);
  EXPECT_EQ(queue.PendingAt(queue.Pending() - 1).frameOffset, 1023);
}

TEST(EventQueue, ReconfigureSizesForTheHostBlockAndKeepsPendingEvents) {
  EventQueue queue;
  queue.Reconfigure(100);
  EXPECT_EQ(queue.Capacity(), 512);
  queue.Reconfigure(1500);
  EXPECT_EQ(queue.Capacity(), 1536);
  queue.Reconfigure(0);
  EXPECT_EQ(queue.Capacity(), 512);
  queue.Reconfigure(-7);
  EXPECT_EQ(queue.Capacity(), 512);
  queue.Reconfigure(1 << 30);
  EXPECT_EQ(queue.Capacity(), EventQueue::kMaxCapacity);

  queue.Reconfigure(512);
  for (int i = 0; i < 512; ++i) ASSERT_TRUE(queue.Insert(Event(i, i & 127)));
  MidiEvent event;
  ASSERT_TRUE(queue.TakeDue(0, event));
  // 511 still queued: the capacity never drops below them.
  queue.Reconfigure(64);
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.Pending(), 511);
  EXPECT_EQ(queue.PendingAt(0).frameOffset, 1);
  EXPECT_EQ(queue.PendingAt(510).frameOffset, 511);
}

TEST(BlockProcessing, CutsHostBlocksIntoControlBlocksThatMaySpanTwoHostBlocks) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(44100, 128);
  ApplyPlainPatch(engine);
  ASSERT_EQ(engine.ControlBlockLength(), 44);

  // 128 = 44 + 44 + 40: three ticks, 4 samples of the third block left over.
  Render(engine, 128, 128);
  EXPECT_EQ(engine.ControlTicks(), 3u);
  EXPECT_EQ(engine.SamplesLeftInControlBlock(), 4);

  // The next host block of 50 first finishes that control block without a
  // tick (4), then 44, then 2 of a new one. A note at its start waits for the
  // tick at sample 4.
  NoteOn(engine, 69);
  const Stereo out = Render(engine, 50, 50);
  EXPECT_EQ(engine.ControlTicks(), 5u);
  EXPECT_EQ(engine.SamplesLeftInControlBlock(), 42);
  EXPECT_EQ(FirstAbove(out.left, 0.0), 4);
}

TEST(BlockProcessing, EventsTakeEffectAtTheTickNearestToTheirOffset) {
  // Where the first sound of a note sent at `offset` appears, with host blocks
  // of 512 starting on a tick.
  auto firstSound = [](int offset) {
    RecordingHost host;
    SynthEngine engine(host);
    engine.Reset(44100, 512);
    ApplyPlainPatch(engine);
    NoteOn(engine, 69, 100, offset);
    const Stereo out = Render(engine, 2048);
    EXPECT_EQ(engine.Queue().Pending(), 0);
    return FirstAbove(out.left, 0.0);
  };
  // Within the first control block: at its start.
  EXPECT_EQ(firstSound(0), 0);
  EXPECT_EQ(firstSound(44), 0);
  // Later ones at the nearest tick: 400 at 396 (9 * 44), 420 at 440.
  EXPECT_EQ(firstSound(400), 396);
  EXPECT_EQ(firstSound(420), 440);
  // 600 lies beyond its host block; its tick (616 = 14 * 44) comes in the next
  // block, where the control blocks no longer start on the host block.
  EXPECT_EQ(firstSound(600), 616);
}

TEST(BlockProcessing, DispatchesInOffsetOrderAndEqualOffsetsInArrivalOrder) {
  RecordingHost host;
  SynthEngine engine(host);
  engine.Reset(48000, 512);
  ApplyPlainPatch(engine);

  // Sent off first, but the note-on lies earlier: the note ends released.
  NoteOff(engine, 60, 300);
  NoteOn(engine, 60, 100, 100);
  Render(engine, 4096);
  EXPECT_FALSE(engine.VoiceAt(0).IsKeyDown());
  EXPECT_EQ(engine.VoiceAt(0).AmpEnvelope().CurrentStage(), Envelope::kIdle);

  // Same offset: arrival order holds, so on-then-off is released and
  // off-then-on keeps sounding.
  NoteOn(engine, 62, 100, 200);
  NoteOff(engine, 62, 200);
  NoteOff(engine, 64, 200);
  NoteOn(engine, 64, 100, 200);
  Render(engine, 512);
  const Voice& released = engine.VoiceAt(0).Note() == 62 ? engine.VoiceAt(0) : engine.VoiceAt(1);
  const Voice& held = engine.VoiceAt(0).Note() == 64 ? engine.VoiceAt(0) : engine.VoiceAt(1);
  ASSERT_EQ(released.Note(), 62);
  ASSERT_EQ(held.Note(), 64);
  EXPECT_FALSE(released.IsKeyDown());
  EXPECT_TRUE(held.IsKeyDown());
  EXPECT_TRUE(held.IsSounding());
}
