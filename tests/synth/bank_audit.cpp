#include "tests/synth/bank_audit.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "product/vorn.h"
#include "tests/host/event_list.h"
#include "tests/synth/audio_measures.h"

namespace {

using audio::kRate;
constexpr int kChorus = 28;

struct NoteEvent {
  double seconds;
  int note;      // relative to the phrase's key
  int velocity;  // 0 releases the note
};

struct Phrase {
  std::vector<NoteEvent> events;
  double seconds;
};

// Phrases end while their keys are still down: what is judged is the sound
// under the fingers and what a new strike does to it.
Phrase HeldNote(double seconds) { return {{{0, 0, 100}}, seconds}; }

// Long enough for the slowest pad to reach its full level.
Phrase Chord(int velocity) {
  Phrase chord{{}, 2.0};
  for (int note : {0, 4, 7, 12}) chord.events.push_back({0, note, velocity});
  return chord;
}

// Eighth notes at 120 bpm: detached, legato, a struck-again note while its
// release still sounds, a release and a strike on the same frame, and
// velocities from 80 to 120.
Phrase Melody() {
  return {{{0.00, 0, 100},
           {0.22, 0, 0},
           {0.25, 2, 90},
           {0.50, 4, 110},
           {0.52, 2, 0},
           {0.72, 4, 0},
           {0.75, 4, 80},
           {1.00, 7, 120},
           {1.01, 4, 0},
           {1.20, 7, 0},
           {1.25, 5, 100},
           {1.50, 5, 0},
           {1.50, 4, 90},
           {1.75, 4, 0},
           {1.75, 0, 110}},
          2.0};
}

// One fresh plug-in instance per phrase, so that no release of an earlier
// phrase sounds into the next.
class Player {
 public:
  explicit Player(int slot) : mVorn(new Vorn(nullptr)) {
    mVorn->FillEmptyPresets(64);
    mEffect = mVorn->Effect();
    Dispatch(vst2::effOpen);
    Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    Dispatch(vst2::effSetBlockSize, 0, kBlock);
    Dispatch(vst2::effSetProgram, 0, slot);
    Dispatch(vst2::effMainsChanged, 0, 1);
  }
  ~Player() { Dispatch(vst2::effClose); }

  Vorn& Synth() { return *mVorn; }
  void SetParameter(int index, float normalized) { mEffect->setParameter(mEffect, index, normalized); }

  audio::Stereo Play(const Phrase& phrase, int key) {
    const std::size_t frames = static_cast<std::size_t>(phrase.seconds * kRate);
    audio::Stereo out{std::vector<double>(frames), std::vector<double>(frames)};
    std::size_t next = 0;
    for (std::size_t start = 0; start < frames; start += kBlock) {
      const std::size_t length = std::min<std::size_t>(kBlock, frames - start);
      for (; next < phrase.events.size() && Frame(phrase.events[next]) < start + length; ++next) {
        const NoteEvent& e = phrase.events[next];
        Send(e.velocity ? 0x90 : 0x80, key + e.note, e.velocity, static_cast<int>(Frame(e) - start));
      }
      double* outputs[2] = {out.left.data() + start, out.right.data() + start};
      mEffect->processDoubleReplacing(mEffect, nullptr, outputs, static_cast<std::int32_t>(length));
    }
    return out;
  }

  static std::size_t Frame(const NoteEvent& e) { return static_cast<std::size_t>(std::lround(e.seconds * kRate)); }

 private:
  static constexpr int kBlock = 512;

  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f) {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }
  void Send(int status, int note, int velocity, int delta) {
    EventList list;
    list.Midi(delta, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(note),
              static_cast<std::uint8_t>(velocity));
    Dispatch(vst2::effProcessEvents, 0, 0, list.Events());
  }

  Vorn* mVorn;  // the binding deletes it on effClose
  vst2::AEffect* mEffect;
};

audio::Stereo PlayProgram(int slot, const Phrase& phrase, int key) { return Player(slot).Play(phrase, key); }

// Steps can only come where a strike meets a voice that still sounds: any
// strike of a mono program, a repeated key of a polyphonic one.
void FindWorstStep(ProgramFigures& figures, int slot, const audio::Stereo& melody, const Phrase& phrase, int key) {
  for (std::size_t i = 1; i < phrase.events.size(); ++i) {
    const NoteEvent& e = phrase.events[i];
    const std::vector<NoteEvent> earlier(phrase.events.begin(), phrase.events.begin() + static_cast<long>(i));
    const bool repeated = std::any_of(earlier.begin(), earlier.end(),
                                      [&](const NoteEvent& past) { return past.velocity && past.note == e.note; });
    if (!e.velocity || !(figures.mono || repeated)) continue;
    const std::size_t at = Player::Frame(e);
    const Phrase before{earlier, static_cast<double>(at) / kRate + 0.005};
    const audio::Stereo without = PlayProgram(slot, before, key);
    double step = audio::StepBetween(melody.left, without.left, at);
    if (step < 0) step = audio::StepAt(melody.left, at);
    if (step > figures.worstStep) {
      figures.worstStep = step;
      figures.worstStepAt = std::to_string(e.seconds).substr(0, 4) + "s";
    }
  }
}

double NoteHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

}  // namespace

Voicing VoicingOf(const std::string& program) {
  static const std::map<std::string, Voicing> voicings = {{"Bass Drum", {36, 48, true, 0.6}},
                                                          {"Reso Kick", {36, 48, true, 0.6}},
                                                          {"Dirty Kick", {36, 48, true, 0.6}},
                                                          {"Super Dirty Drum", {48, 72, true, 0.6}},
                                                          {"HiHat", {60, 72, true, 0.15}},
                                                          {"Destructor Bass", {36, 60}},
                                                          {"Gulp Bass", {36, 60}},
                                                          {"Bass One", {36, 60}},
                                                          {"Boogie Bass", {36, 60}},
                                                          {"Percky Picky", {60, 96, false, 1.0}},
                                                          {"Pluck Chulo Saw", {60, 96, false, 1.0}},
                                                          {"Pluck Chulo Square", {60, 96, false, 1.0}}};
  const auto found = voicings.find(program);
  return found == voicings.end() ? Voicing{} : found->second;
}

std::vector<std::string> FactoryProgramNames() {
  Vorn vorn(nullptr);
  vorn.FillEmptyPresets(64);
  std::vector<std::string> names;
  for (int i = 0; i < 64; ++i) names.emplace_back(vorn.GetPresetName(i));
  return names;
}

ProgramFigures MeasureProgram(int slot) {
  ProgramFigures figures;
  {
    Player player(slot);
    figures.name = player.Synth().GetPresetName(slot);
    figures.mono = player.Synth().GetParam(1)->Value() != 0;
    figures.sync = player.Synth().GetParam(10)->Value() != 0;
  }
  const Voicing voicing = VoicingOf(figures.name);

  const Phrase notePhrase = HeldNote(1.5), chordPhrase = Chord(100), melodyPhrase = Melody();
  const audio::Stereo note = PlayProgram(slot, notePhrase, voicing.root);
  const audio::Stereo chord = PlayProgram(slot, chordPhrase, voicing.root);
  const audio::Stereo melody = PlayProgram(slot, melodyPhrase, voicing.root);
  const audio::Loudness noteLoudness = audio::MeasureLoudness(note), chordLoudness = audio::MeasureLoudness(chord);
  figures.noteLufs = noteLoudness.integrated;
  figures.chordLufs = chordLoudness.integrated;
  figures.melodyLufs = audio::MeasureLoudness(melody).integrated;
  figures.level = (figures.mono || voicing.drum ? noteLoudness : chordLoudness).momentaryMax;
  figures.chordPeak100 = audio::PeakDb(chord);
  figures.chordPeak127 = audio::PeakDb(PlayProgram(slot, Chord(127), voicing.root));

  FindWorstStep(figures, slot, melody, melodyPhrase, voicing.root);

  figures.dcDb = audio::DcDb(note.left, kRate / 10, note.Size());
  figures.decaySeconds = audio::DecaySeconds(note.left);
  const std::vector<double> spectrum = audio::PowerSpectrum(note.left, 0);
  figures.shareAbove5k = audio::ShareAbove(spectrum, 5000);
  figures.shareAbove12k = audio::ShareAbove(spectrum, 12000);
  figures.centroidHz = audio::CentroidHz(spectrum);

  if (figures.sync) {
    // The chorus's moving delays shift high harmonics by more than a few
    // Hertz; the oscillators alone are judged.
    Player player(slot);
    player.SetParameter(kChorus, 0.0f);
    const audio::Stereo top = player.Play(HeldNote(0.8), voicing.top);
    figures.aliasDb = audio::InharmonicDb(audio::PowerSpectrum(top.left, kRate * 6 / 10), NoteHz(voicing.top));
  }
  return figures;
}
