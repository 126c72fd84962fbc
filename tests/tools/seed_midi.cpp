// seed_midi DIR: writes a seed corpus for fuzz_midi with our own MIDI writer:
// the demo piece and small files of each kind the reader distinguishes.
#include <cstdio>
#include <string>

#include "tools/demo/demo_song.h"
#include "tools/demo/midi_writer.h"

namespace {

bool Save(const std::string& folder, const char* name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = folder + "/" + name;
  if (demo::SaveBytes(path, bytes)) return true;
  std::fprintf(stderr, "seed_midi: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_midi DIR\n");
    return 1;
  }
  const std::string folder = argv[1];
  demo::MidiTrack notes;
  notes.Name("seed");
  notes.TimeSignature(0, 3, 4);
  notes.Tempo(0, 90);
  for (int i = 0; i < 6; ++i) notes.Note(i * 96, 90, i % 3, 60 + i, 100);
  notes.Controller(100, 0, 1, 64);
  notes.PitchBend(120, 1, 10000);
  notes.ProgramChange(130, 2, 7);
  notes.SysEx(140, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
  notes.Tempo(200, 140);
  demo::MidiTrack second;
  second.Note(48, 48, 9, 36, 127);
  second.Tempo(300, 60);

  std::vector<std::uint8_t> smpte = demo::EncodeMidiFile(0, 96, {notes});
  smpte[12] = static_cast<std::uint8_t>(-30);
  smpte[13] = 4;
  const bool ok = Save(folder, "demo.mid", demo::DemoSong()) &&
                  Save(folder, "format0-running.mid", demo::EncodeMidiFile(0, 96, {notes}, true)) &&
                  Save(folder, "format0-full.mid", demo::EncodeMidiFile(0, 96, {notes}, false)) &&
                  Save(folder, "format1.mid", demo::EncodeMidiFile(1, 480, {notes, second})) &&
                  Save(folder, "smpte.mid", smpte);
  return ok ? 0 : 1;
}
