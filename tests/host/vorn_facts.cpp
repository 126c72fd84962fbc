#include "tests/host/vorn_facts.h"

#include <cmath>

namespace vorn_facts {

const char* const kParameterNames[kParameterCount] = {
    "Volume",   "Monophon", "PB Range", "Portamnt", "M. Tune",  "Osc Wave", "FM",       "FM Src",
    "Osc2Trns", "Osc2Tune", "Sync",     "Flt Mode", "Flt Freq", "Flt Reso", "Flt Env",  "Flt LFO",
    "Flt Note", "Flt Velo", "Amp Velo", "LFO Wave", "LFO Freq", "FltEnv A", "FltEnv D", "FltEnv S",
    "AmpEnv A", "AmpEnv D", "AmpEnv S", "AmpEnv R", "Chorus",   "Cho LFO1", "Cho LFO2", "Cho Dpt"};

// Enumerations show their text and so have no label.
const char* const kParameterLabels[kParameterCount] = {"%", "",   "",  "s", "",  "",  "%", "",  "",  "",   "",
                                                       "",  "Hz", "%", "%", "%", "%", "%", "%", "",  "Hz", "%",
                                                       "%", "",   "%", "%", "",  "%", "",  "%", "%", "%"};

const char* const kDefaultDisplays[kParameterCount] = {
    "50", "Off", "2",  "0.00",     "0",    "Saw", "0", "LFO", "0", "6", "Off", "Smooth", nullptr, "0", "0",  "0",
    "50", "0",   "90", "Triangle", "6.77", "0",   "0", "Off", "0", "0", "On",  "0",      "Off",   "7", "13", "20"};

const double kDefaultValues[kParameterCount] = {50, 0, 2, 0,  0,  0,  0, 0,    0, 6, 0, 0, 12218.805178903542,
                                                0,  0, 0, 50, 0,  90, 0, 6.77, 0, 0, 0, 0, 0,
                                                1,  0, 0, 7,  13, 20};

const char* const kFactoryProgramNames[kProgramCount] = {"Sync Heaven",
                                                         "Quint Bells",
                                                         "Grind Stone",
                                                         "String Ensemble",
                                                         "Spookey Rectabells",
                                                         "Fat Saws",
                                                         "Cheesync",
                                                         "Classic Analog Brass",
                                                         "Bell Piano",
                                                         "Elektic Lead",
                                                         "Dukesque Lead",
                                                         "Covariant Pad",
                                                         "Destructor Bass",
                                                         "S/H Rezo Pad",
                                                         "Wobble Glitters",
                                                         "Great Funk",
                                                         "Rezo Organ",
                                                         "Percky Picky",
                                                         "The Brave Rezo Pad",
                                                         "Gulp Bass",
                                                         "Pianotron",
                                                         "Endless Shimmer",
                                                         "Shark's Poly",
                                                         "Jutiper 7",
                                                         "The Bottle",
                                                         "Zylon Pad",
                                                         "Doctronium",
                                                         "Nitribitt Pad",
                                                         "Lost in Space",
                                                         "Seasick Harmonium",
                                                         "Scream in the Dark",
                                                         "Big Analog",
                                                         "Majesty",
                                                         "Bass One",
                                                         "Duck Sync",
                                                         "Endless Shimmer REV",
                                                         "Klang",
                                                         "Super Dirty Drum",
                                                         "Elegant",
                                                         "7th Key",
                                                         "Pluck Chulo Saw",
                                                         "Synced Lead 1",
                                                         "Nasal Lead",
                                                         "Bass Drum",
                                                         "Boogie Bass",
                                                         "S/H Wave",
                                                         "100 Hz",
                                                         "Broken Synth (Hold)",
                                                         "Majesty Soft",
                                                         "Reso Kick",
                                                         "Long Sweep",
                                                         "Curious Electronic",
                                                         "Fantasy",
                                                         "Dirty Kick",
                                                         "Sens Lead (add Delay)",
                                                         "Stoned Lead",
                                                         "Hcord",
                                                         "Marrow Lantern",
                                                         "Classic Saw",
                                                         "Fast LFO Sweep",
                                                         "HiHat",
                                                         "Synced Lead 2",
                                                         "Pluck Chulo Square",
                                                         "Init"};

namespace {

constexpr int kStepsPerSemitone = 128;
constexpr int kHighestPitchIndex = 17280;
constexpr int kTopSemitone = kHighestPitchIndex / kStepsPerSemitone;

// Semitone n of the table: 440 Hz at note 69, equal temperament, rounded to
// three decimals as the table stores it.
double SemitoneHertz(int n) {
  double hertz = 440.0 * std::pow(2.0, (n - 69) / 12.0);
  return std::round(hertz * 1000.0) / 1000.0;
}

}  // namespace

std::string FilterFrequencyText(double pitchIndex) {
  int index = static_cast<int>(std::floor(pitchIndex + 0.5));
  double hertz;
  if (index >= kHighestPitchIndex) {
    hertz = SemitoneHertz(kTopSemitone);
  } else {
    int semitone = index / kStepsPerSemitone;
    int fraction = index % kStepsPerSemitone;
    double low = SemitoneHertz(semitone);
    double high = SemitoneHertz(semitone + 1);
    hertz = (high - low) * fraction / kStepsPerSemitone + low;
  }
  return std::to_string(static_cast<int>(hertz));
}

}  // namespace vorn_facts
