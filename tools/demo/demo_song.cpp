#include "tools/demo/demo_song.h"

#include "tools/demo/midi_writer.h"

namespace demo {
namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kEighth = kTicksPerQuarter / 2;
constexpr int kBar = 4 * kTicksPerQuarter;
constexpr int kBars = 6;
constexpr double kOpeningTempo = 96.0;
constexpr double kClosingTempo = 108.0;
constexpr int kTempoChangeBar = 4;  // counted from 0: the fifth bar
constexpr int kBassChannel = 0;
constexpr int kChordChannel = 1;
constexpr int kLeadChannel = 2;
constexpr int kModulationWheel = 1;

struct Step {
  int eighths;  // length
  int key;      // 0 = rest
};

MidiTrack Conductor() {
  MidiTrack track;
  track.Name("Vorn demo");
  track.TimeSignature(0, 4, 4);
  track.Tempo(0, kOpeningTempo);
  track.Tempo(kTempoChangeBar * kBar, kClosingTempo);
  track.SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});  // General MIDI on; synthesizers ignore it
  track.EndAt(kBars * kBar);
  return track;
}

MidiTrack Bass() {
  MidiTrack track;
  track.Name("Bass");
  const int roots[] = {45, 41, 48, 43};  // A, F, C, G
  std::uint64_t tick = 0;
  for (int root : roots) {
    for (int i = 0; i < 8; ++i) {
      const int key = (i == 3 || i == 6) ? root + 12 : root;
      track.Note(tick, kEighth * 4 / 5, kBassChannel, key, i % 2 == 0 ? 104 : 84);
      tick += kEighth;
    }
  }
  for (int root : {38, 40}) {  // D, E: half a bar each
    for (int i = 0; i < 4; ++i) {
      track.Note(tick, kEighth * 4 / 5, kBassChannel, i == 2 ? root + 12 : root, i % 2 == 0 ? 104 : 84);
      tick += kEighth;
    }
  }
  track.Note(tick, kBar, kBassChannel, 33, 110);  // the low A to end on
  return track;
}

MidiTrack Chords() {
  MidiTrack track;
  track.Name("Chords");
  struct Chord {
    int bars2;  // length in half bars
    int keys[3];
  };
  const Chord chords[] = {
      {2, {57, 60, 64}}, {2, {57, 60, 65}}, {2, {55, 60, 64}}, {2, {55, 59, 62}},
      {1, {57, 62, 65}}, {1, {56, 59, 64}}, {2, {57, 60, 64}},
  };
  std::uint64_t tick = 0;
  for (const Chord& chord : chords) {
    const std::uint64_t length = static_cast<std::uint64_t>(chord.bars2) * kBar / 2;
    for (int key : chord.keys) track.Note(tick, length - kEighth / 4, kChordChannel, key, 72);
    tick += length;
  }
  return track;
}

MidiTrack Lead() {
  MidiTrack track;
  track.Name("Lead");
  const Step melody[] = {
      {8, 0},                                       // bar 1: rest
      {2, 72}, {1, 69}, {1, 72}, {4, 77},           // F
      {2, 76}, {1, 74}, {1, 72}, {4, 67},           // C
      {2, 71}, {2, 74}, {2, 79}, {1, 77}, {1, 74},  // G
      {2, 77}, {2, 76}, {1, 74}, {1, 76}, {2, 80},  // Dm, E
      {8, 81},                                      // A
  };
  std::uint64_t tick = 0;
  for (const Step& step : melody) {
    const std::uint64_t length = static_cast<std::uint64_t>(step.eighths) * kEighth;
    if (step.key > 0) track.Note(tick, length - kEighth / 8, kLeadChannel, step.key, 96);
    tick += length;
  }
  // A vibrato swell on the last note through the modulation wheel.
  const std::uint64_t lastNote = (kBars - 1) * kBar;
  for (int i = 0; i <= 8; ++i) track.Controller(lastNote + i * kEighth / 2, kLeadChannel, kModulationWheel, i * 8);
  track.Controller(kBars * kBar, kLeadChannel, kModulationWheel, 0);
  return track;
}

}  // namespace

std::vector<std::uint8_t> DemoSong() {
  return EncodeMidiFile(1, kTicksPerQuarter, {Conductor(), Bass(), Chords(), Lead()});
}

}  // namespace demo
