// The MIDI reader, the tempo map and the event schedule, fed with files from
// our own writer and with broken bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <random>

#include "tools/demo/demo_song.h"
#include "tools/demo/midi_writer.h"
#include "tools/vorn-render/event_schedule.h"
#include "tools/vorn-render/midi_file.h"
#include "tools/vorn-render/tempo_map.h"

namespace {

using demo::MidiTrack;
using render::MidiReadResult;
using render::ReadMidiFile;

MidiReadResult Read(const std::vector<std::uint8_t>& bytes) { return ReadMidiFile(bytes.data(), bytes.size()); }

std::vector<std::uint8_t> Bytes(const render::SmfEvent& event) {
  return std::vector<std::uint8_t>(event.bytes, event.bytes + event.size);
}

TEST(MidiFile, ReadsFormat0WithAndWithoutRunningStatusAlike) {
  MidiTrack track;
  track.Name("one track");
  track.ProgramChange(0, 0, 5);
  track.Note(0, 100, 0, 60, 90);
  track.Note(0, 100, 0, 64, 80);  // same status byte: running status applies
  track.SysEx(50, {0x41, 0x10, 0xF7});
  track.Controller(60, 0, 7, 100);
  track.Controller(70, 0, 10, 30);
  track.PitchBend(80, 3, 12000);
  track.Raw(90, {0xFF, 0x01, 0x03, 'a', 'b', 'c'});  // a text meta event
  track.Raw(92, {0x10, 0x20});  // running status from before the meta event, as some sequencers write
  for (bool runningStatus : {false, true}) {
    SCOPED_TRACE(runningStatus ? "running status" : "full status bytes");
    const std::vector<std::uint8_t> file = demo::EncodeMidiFile(0, 96, {track}, runningStatus);
    const MidiReadResult result = Read(file);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.song.format, 0);
    EXPECT_EQ(result.song.division.ticksPerQuarter, 96);
    const std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>> expected = {
        {0, {0xC0, 5}},           {0, {0x90, 60, 90}},   {0, {0x90, 64, 80}},
        {60, {0xB0, 7, 100}},     {70, {0xB0, 10, 30}},  {80, {0xE3, 12000 & 0x7F, 12000 >> 7}},
        {92, {0xE3, 0x10, 0x20}}, {100, {0x80, 60, 64}}, {100, {0x80, 64, 64}},
    };
    ASSERT_EQ(result.song.events.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(result.song.events[i].tick, expected[i].first) << "event " << i;
      EXPECT_EQ(Bytes(result.song.events[i]), expected[i].second) << "event " << i;
    }
    EXPECT_EQ(result.song.endTick, 100u);
  }
}

TEST(MidiFile, MergesFormat1TracksByTickThenTrackOrder) {
  MidiTrack conductor;
  conductor.Tempo(0, 100);
  conductor.EndAt(2000);  // a trailing rest counts towards the length
  MidiTrack a;
  a.Note(10, 10, 0, 50, 1);
  a.Note(30, 10, 0, 51, 2);
  MidiTrack b;
  b.Note(10, 20, 1, 60, 3);
  b.Note(0, 5, 1, 61, 4);
  const MidiReadResult result = Read(demo::EncodeMidiFile(1, 480, {conductor, a, b}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.song.trackCount, 3);
  std::vector<std::pair<std::uint64_t, int>> order;
  for (const render::SmfEvent& event : result.song.events) order.push_back({event.tick, event.bytes[1]});
  const std::vector<std::pair<std::uint64_t, int>> expected = {{0, 61},  {5, 61},  {10, 50}, {10, 60},
                                                               {20, 50}, {30, 51}, {30, 60}, {40, 51}};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(result.song.endTick, 2000u);
}

TEST(TempoMap, HonoursTempoChangesFromAnyTrackMidPiece) {
  MidiTrack conductor;
  conductor.Tempo(0, 120);
  conductor.TimeSignature(0, 3, 4);
  conductor.TimeSignature(480 * 3, 4, 4);  // from the second bar on
  MidiTrack other;
  other.Tempo(480 * 4, 60);   // beat 4: slower, in a track that is not the first
  other.Tempo(480 * 6, 240);  // beat 6
  other.Tempo(480 * 6, 150);  // same tick, later event: this one holds
  const MidiReadResult result = Read(demo::EncodeMidiFile(1, 480, {conductor, other}));
  ASSERT_TRUE(result.ok) << result.error;
  const render::TempoMap map(result.song);
  EXPECT_DOUBLE_EQ(map.SecondsAt(240), 0.25);
  EXPECT_DOUBLE_EQ(map.SecondsAt(480 * 4), 2.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(480 * 5), 3.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(480 * 6), 4.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(480 * 7), 4.4);

  const render::MusicalPosition early = map.PositionAt(1.0);
  EXPECT_DOUBLE_EQ(early.tempo, 120.0);
  EXPECT_DOUBLE_EQ(early.quarters, 2.0);
  EXPECT_EQ(early.numerator, 3);
  EXPECT_DOUBLE_EQ(early.barStart, 0.0);
  const render::MusicalPosition slow = map.PositionAt(2.5);
  EXPECT_DOUBLE_EQ(slow.tempo, 60.0);
  EXPECT_DOUBLE_EQ(slow.quarters, 4.5);
  EXPECT_EQ(slow.numerator, 4);
  EXPECT_DOUBLE_EQ(slow.barStart, 3.0);
  const render::MusicalPosition fast = map.PositionAt(4.4);
  EXPECT_DOUBLE_EQ(fast.tempo, 150.0);
  EXPECT_NEAR(fast.quarters, 7.0, 1e-12);
  EXPECT_NEAR(fast.barStart, 7.0, 1e-12);
}

TEST(TempoMap, SmpteDivisionCountsRealTime) {
  MidiTrack track;
  track.Tempo(0, 60);  // gives the musical position only
  track.Note(1000, 500, 0, 60, 100);
  std::vector<std::uint8_t> file = demo::EncodeMidiFile(0, 480, {track});
  file[12] = static_cast<std::uint8_t>(-25);  // 25 frames per second
  file[13] = 40;                              // 40 ticks per frame: 1 ms a tick
  const MidiReadResult result = Read(file);
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_TRUE(result.song.division.smpte);
  const render::TempoMap map(result.song);
  EXPECT_DOUBLE_EQ(map.SecondsAt(1000), 1.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(1500), 1.5);
  EXPECT_DOUBLE_EQ(map.PositionAt(1.5).quarters, 1.5);
}

TEST(EventSchedule, PlacesEventsOnFramesAndHandsThemOutPerBlock) {
  MidiTrack track;
  track.Tempo(0, 120);
  for (int key = 40; key < 52; ++key) track.Note(480, 480, 0, key, 100);  // a 12-note cluster at 0.5 s
  track.Note(1, 10, 0, 30, 100);
  const MidiReadResult result = Read(demo::EncodeMidiFile(0, 480, {track}));
  ASSERT_TRUE(result.ok) << result.error;
  const render::TempoMap map(result.song);
  const double rate = 44100.0;
  const std::int32_t block = 100;
  render::EventSchedule schedule(result.song, map, rate, block);
  // The last event sits on frame 44100, so one frame more is rendered to play it.
  EXPECT_EQ(schedule.EndFrame(), 44101);

  const std::int64_t oneTick = std::llround(rate / 960.0);  // tick 1 at 120 BPM, 480 per quarter
  std::vector<std::pair<std::int64_t, int>> seen;           // absolute frame, key
  for (std::int64_t start = 0; start < schedule.EndFrame() + block; start += block) {
    const vst2::VstEvents* events = schedule.EventsForBlock(start, block);
    if (!events) continue;
    // The list holds numEvents pointers, more than the two it is declared with.
    const auto* pointers = reinterpret_cast<vst2::VstEvent* const*>(reinterpret_cast<const char*>(events) +
                                                                    offsetof(vst2::VstEvents, events));
    for (int i = 0; i < events->numEvents; ++i) {
      const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(pointers[i]);
      ASSERT_EQ(midi->type, vst2::kVstMidiType);
      ASSERT_EQ(midi->byteSize, static_cast<std::int32_t>(sizeof(vst2::VstMidiEvent)));
      ASSERT_GE(midi->deltaFrames, 0);
      ASSERT_LT(midi->deltaFrames, block);
      seen.push_back({start + midi->deltaFrames, midi->midiData[1]});
    }
  }
  ASSERT_EQ(seen.size(), 26u);
  EXPECT_EQ(seen[0], std::make_pair(oneTick, 30));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(seen[2 + i], std::make_pair(std::int64_t{22050}, 40 + i));
  EXPECT_EQ(seen.back(), std::make_pair(std::int64_t{44100}, 51));
}

TEST(MidiFile, RefusesBrokenFilesWithAReason) {
  MidiTrack track;
  track.Note(0, 10, 0, 60, 100);
  const std::vector<std::uint8_t> good = demo::EncodeMidiFile(0, 96, {track}, false);
  ASSERT_TRUE(Read(good).ok);
  constexpr std::size_t kFirstEvent = 22;  // after MThd (14 bytes) and the MTrk header (8)

  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* reason;
  };
  auto with = [&](std::vector<std::uint8_t> replacement) {
    std::vector<std::uint8_t> bytes = good;
    bytes.erase(bytes.begin() + static_cast<long>(kFirstEvent), bytes.end());
    bytes.insert(bytes.end(), replacement.begin(), replacement.end());
    const std::uint32_t length = static_cast<std::uint32_t>(bytes.size() - kFirstEvent);
    for (int i = 0; i < 4; ++i) bytes[18 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    return bytes;
  };
  std::vector<std::uint8_t> format2 = good;
  format2[9] = 2;
  std::vector<std::uint8_t> noTicks = good;
  noTicks[12] = noTicks[13] = 0;
  std::vector<std::uint8_t> moreTracks = good;
  moreTracks[11] = 2;
  std::vector<std::uint8_t> longChunk = good;
  longChunk[21] += 1;
  const Case cases[] = {
      {"empty", {}, "no MThd"},
      {"RIFF", {'R', 'I', 'F', 'F', 0, 0, 0, 0}, "no MThd"},
      {"format 2", format2, "format 2"},
      {"no ticks", noTicks, "0 ticks"},
      {"missing track", moreTracks, "declares 2 tracks"},
      {"chunk too long", longChunk, "only"},
      {"data without status", with({0x00, 0x40, 0x40}), "without a status"},
      {"system message", with({0x00, 0xF2, 0x00, 0x00}), "0xF2"},
      {"long number", with({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 1, 1}), "longer than 4"},
      {"status in data", with({0x00, 0x90, 0x40, 0x90}), "status byte where"},
      {"short message", with({0x00, 0x90, 0x40}), "inside a channel message"},
      {"long sysex", with({0x00, 0xF0, 0x10, 0x01}), "sysex"},
      {"long meta", with({0x00, 0xFF, 0x51, 0x03, 0x07}), "meta"},
  };
  for (const Case& c : cases) {
    const MidiReadResult result = Read(c.bytes);
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_NE(result.error.find(c.reason), std::string::npos) << c.what << ": " << result.error;
  }
}

TEST(MidiFile, EveryTruncationOfTheDemoPieceIsRefusedSafely) {
  const std::vector<std::uint8_t> song = demo::DemoSong();
  ASSERT_TRUE(Read(song).ok);
  for (std::size_t size = 0; size < song.size(); ++size) {
    const std::vector<std::uint8_t> part(song.begin(), song.begin() + static_cast<long>(size));
    const MidiReadResult result = Read(part);
    EXPECT_FALSE(result.ok) << size;
    EXPECT_FALSE(result.error.empty()) << size;
  }
}

TEST(MidiFile, SurvivesRandomDamage) {
  const std::vector<std::uint8_t> song = demo::DemoSong();
  std::mt19937 random(1234);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> damaged = song;
    const int hits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < hits; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
    const MidiReadResult result = Read(damaged);
    if (result.ok) {
      ++accepted;
      for (const render::SmfEvent& event : result.song.events) {
        ASSERT_GE(event.bytes[0], 0x80);
        ASSERT_LT(event.bytes[0], 0xF0);
        for (int b = 1; b < event.size; ++b) ASSERT_LT(event.bytes[b], 0x80);
      }
    } else {
      EXPECT_FALSE(result.error.empty());
    }
  }
  // Damage to note numbers or times leaves a playable file; both outcomes occur.
  EXPECT_GT(accepted, 0);
  EXPECT_LT(accepted, 3000);
}

TEST(DemoSong, IsAFormat1PieceOfTenToFifteenSecondsWithATempoChange) {
  const MidiReadResult result = Read(demo::DemoSong());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.song.format, 1);
  EXPECT_EQ(result.song.trackCount, 4);
  EXPECT_EQ(result.song.tempos.size(), 2u);
  const render::TempoMap map(result.song);
  const double seconds = map.SecondsAt(result.song.endTick);
  EXPECT_GT(seconds, 10.0);
  EXPECT_LT(seconds, 15.0);
  int channelsUsed = 0;
  for (int channel = 0; channel < 16; ++channel) {
    for (const render::SmfEvent& event : result.song.events) {
      if ((event.bytes[0] & 0x0F) == channel && (event.bytes[0] & 0xF0) == 0x90) {
        ++channelsUsed;
        break;
      }
    }
  }
  EXPECT_EQ(channelsUsed, 3);
}

}  // namespace
