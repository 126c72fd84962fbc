// Plays every factory program through the VST 2 binding at 48 kHz in a few
// short phrases and measures what a musician hears first: level, peaks,
// clicks at note events, DC, aliasing of synced oscillators and decay.
#pragma once

#include <string>
#include <vector>

// How a program is meant to be played: the key its note and chord phrases
// start on, the highest key it is voiced for (where a synced program's
// aliasing is judged), whether it is a drum (judged by a single strike, not
// a chord), and for sounds that die away while the key is held (drums,
// plucks) the seconds they may take to fall by 40 dB.
struct Voicing {
  int root = 60;
  int top = 84;
  bool drum = false;
  double decayLimit = 0;  // none
};
Voicing VoicingOf(const std::string& program);

struct ProgramFigures {
  std::string name;
  bool mono = false;
  bool sync = false;
  double noteLufs = 0, chordLufs = 0, melodyLufs = 0;  // integrated
  double level = 0;  // the loudest 400 ms of the phrase that suits it: a chord, or a note for mono and drums
  double chordPeak100 = 0, chordPeak127 = 0;  // dBFS
  double worstStep = 0;                       // share of the local peak
  std::string worstStepAt;
  double dcDb = 0;
  double aliasDb = 0;  // at the top key; synced programs only
  double decaySeconds = 0;
  double shareAbove5k = 0, centroidHz = 0, shareAbove12k = 0;  // of the note phrase
};

std::vector<std::string> FactoryProgramNames();
ProgramFigures MeasureProgram(int slot);
