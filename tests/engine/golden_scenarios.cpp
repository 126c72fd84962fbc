#include "golden_scenarios.h"

#include <cstdint>
#include <cstring>
#include <fstream>

#include "engine/engine_parameter.h"
#include "engine/lfo.h"
#include "engine/mts_library.h"

namespace p = engine_parameter;

namespace {

// Renders without the installed tuning library, so a machine with one still
// produces the reference.
const MtsLibrary& NoTuning() {
  static const MtsLibrary none("");
  return none;
}

// Bright polyphonic patch: saws with sync and LFO FM, resonant Smooth filter
// with envelope, glide, wheel vibrato, bend and the chorus.
Stereo BrightPoly() {
  RecordingHost host;
  SynthEngine engine(host, NoTuning());
  engine.Reset(48000, 256);
  ApplyPatch(engine, {{p::kVolume, 80},
                      {p::kPortamento, 0.02},
                      {p::kFmAmount, 40},
                      {p::kOsc2Transpose, 7},
                      {p::kSync, 1},
                      {p::kFilterFrequency, 14000},
                      {p::kFilterResonance, 40},
                      {p::kFilterEnvAmount, 60},
                      {p::kFilterEnvDecay, 30},
                      {p::kLfoFrequency, 12},
                      {p::kChorus, 1},
                      {p::kChorusDepth, 60},
                      {p::kAmpEnvRelease, 20}});
  Stereo out;
  const int blocks = 20;
  for (int block = 0; block < blocks; ++block) {
    if (block == 0) {
      NoteOn(engine, 48, 90, 0);
      NoteOn(engine, 55, 70, 30);
      NoteOn(engine, 60, 110, 100);
    }
    if (block == 4) {
      SendMidi(engine, 0xB0, 1, 100, 10);
      NoteOn(engine, 64, 127, 200);
    }
    if (block == 8) SendMidi(engine, 0xE0, 0, 80, 50);
    if (block == 10) SetParameter(engine, p::kFilterFrequency, 9000);
    if (block == 12) {
      NoteOff(engine, 55, 0);
      NoteOn(engine, 67, 60, 120);
    }
    if (block == 16) engine.ReleaseAllVoices();
    const Stereo part = Render(engine, 256, 256);
    out.left.insert(out.left.end(), part.left.begin(), part.left.end());
    out.right.insert(out.right.end(), part.right.begin(), part.right.end());
  }
  return out;
}

// Mono "Single" lead: squares, Dirty filter with high resonance, envelope FM,
// sample-and-hold on the cutoff, velocity to cutoff, odd host block sizes.
Stereo DirtyMono() {
  RecordingHost host;
  SynthEngine engine(host, NoTuning());
  engine.Reset(44100, 100);
  ApplyPatch(engine, {{p::kVolume, 70},
                      {p::kMonophon, 2},
                      {p::kPortamento, 0.03},
                      {p::kOscWave, 1},
                      {p::kFmAmount, -70},
                      {p::kFmSource, 1},
                      {p::kOsc2Tune, 20},
                      {p::kFilterMode, 1},
                      {p::kFilterFrequency, 9000},
                      {p::kFilterResonance, 90},
                      {p::kFilterLfoAmount, 40},
                      {p::kFilterVelocity, 80},
                      {p::kLfoWave, 2},
                      {p::kLfoFrequency, 30},
                      {p::kFilterEnvAttack, 20},
                      {p::kFilterEnvDecay, 35},
                      {p::kAmpEnvSustain, 0},
                      {p::kAmpEnvDecay, 40},
                      {p::kAmpEnvRelease, 20}});
  Stereo out;
  const int sizes[] = {100, 37, 100, 1, 64};
  int frame = 0;
  for (int block = 0; frame < 4800; ++block) {
    const int n = sizes[block % 5];
    if (block == 0) NoteOn(engine, 45, 100, 10);
    if (block == 20) NoteOn(engine, 52, 40, 5);
    if (block == 40) NoteOff(engine, 52, 0);
    if (block == 55) SetParameter(engine, p::kFilterMode, 0);
    if (block == 60) NoteOff(engine, 45, 30);
    const Stereo part = Render(engine, n, n);
    out.left.insert(out.left.end(), part.left.begin(), part.left.end());
    out.right.insert(out.right.end(), part.right.begin(), part.right.end());
    frame += n;
  }
  return out;
}

}  // namespace

const std::vector<GoldenScenario>& GoldenScenarios() {
  static const std::vector<GoldenScenario> scenarios = {{"bright_poly", BrightPoly}, {"dirty_mono", DirtyMono}};
  return scenarios;
}

bool WriteGolden(const std::string& path, const Stereo& audio) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  for (std::size_t i = 0; i < audio.left.size(); ++i) {
    for (double sample : {audio.left[i], audio.right[i]}) {
      std::uint64_t bits;
      std::memcpy(&bits, &sample, sizeof bits);
      unsigned char bytes[8];
      for (int b = 0; b < 8; ++b) bytes[b] = static_cast<unsigned char>(bits >> (8 * b));
      file.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
  }
  return static_cast<bool>(file);
}

bool ReadGolden(const std::string& path, Stereo& audio) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  audio = Stereo();
  unsigned char bytes[16];
  while (file.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
    double pair[2];
    for (int c = 0; c < 2; ++c) {
      std::uint64_t bits = 0;
      for (int b = 0; b < 8; ++b) bits |= static_cast<std::uint64_t>(bytes[c * 8 + b]) << (8 * b);
      std::memcpy(&pair[c], &bits, sizeof bits);
    }
    audio.left.push_back(pair[0]);
    audio.right.push_back(pair[1]);
  }
  return file.eof() && file.gcount() == 0;
}
