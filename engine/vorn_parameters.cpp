// The 32 parameters: names, kinds, ranges, defaults, steps, shapes, labels
// and display texts.
#include <cmath>
#include <cstdio>

#include "engine/note_frequency.h"
#include "engine/vorn.h"
#include "plugin/int_conversion.h"

namespace {

const char* const kOffOn[] = {"Off", "On"};
const char* const kMonophonTexts[] = {"Off", "Multiple", "Single"};
const char* const kWaveTexts[] = {"Saw", "Square"};
const char* const kFmSourceTexts[] = {"LFO", "Env"};
const char* const kFilterModeTexts[] = {"Smooth", "Dirty"};
const char* const kLfoWaveTexts[] = {"Triangle", "Square", "S/H"};

// 17280 * sqrt(0.5): normalised 0.5 under the cutoff's shape of 0.5.
constexpr double kDefaultCutoff = 12218.805178903542;

}  // namespace

void DisplayFilterFrequency(double value, char* text) {
  const int pitchIndex = TruncateToInt(std::floor(value + 0.5));
  std::snprintf(text, IParam::kDisplaySize, "%d", TruncateToInt(NoteFrequency(pitchIndex)));
}

void Vorn::InitParameters() {
  auto param = [this](int index) { return GetParam(index); };
  param(0)->InitDouble("Volume", 50, 0, 100, 1, "%");
  param(1)->InitEnum("Monophon", 0, 3, kMonophonTexts);
  param(2)->InitDouble("PB Range", 2, 0, 12, 1, "");
  param(3)->InitDouble("Portamnt", 0, 0, 5, 0.01, "s", 4);
  param(4)->InitDouble("M. Tune", 0, -64, 64, 1, "");
  param(5)->InitEnum("Osc Wave", 0, 2, kWaveTexts);
  param(6)->InitDouble("FM", 0, -100, 100, 1, "%");
  param(7)->InitEnum("FM Src", 0, 2, kFmSourceTexts);
  param(8)->InitInt("Osc2Trns", 0, -24, 24, "");
  param(9)->InitInt("Osc2Tune", 6, -64, 64, "");
  param(10)->InitEnum("Sync", 0, 2, kOffOn);
  param(11)->InitEnum("Flt Mode", 0, 2, kFilterModeTexts);
  param(12)->InitDouble("Flt Freq", kDefaultCutoff, 0, kMaxPitchIndex, 1, "Hz", 0.5);
  param(12)->SetDisplayFunction(DisplayFilterFrequency);
  param(13)->InitDouble("Flt Reso", 0, 0, 100, 1, "%");
  param(14)->InitDouble("Flt Env", 0, -100, 100, 1, "%");
  param(15)->InitDouble("Flt LFO", 0, -100, 100, 1, "%");
  param(16)->InitDouble("Flt Note", 50, 0, 100, 1, "%");
  param(17)->InitDouble("Flt Velo", 0, -100, 100, 1, "%");
  param(18)->InitDouble("Amp Velo", 90, 0, 100, 1, "%");
  param(19)->InitEnum("LFO Wave", 0, 3, kLfoWaveTexts);
  param(20)->InitDouble("LFO Freq", 6.77, 0.001, 99.999, 0.01, "Hz", 4);
  param(21)->InitDouble("FltEnv A", 0, 0, 100, 1, "%");
  param(22)->InitDouble("FltEnv D", 0, 0, 100, 1, "%");
  param(23)->InitEnum("FltEnv S", 0, 2, kOffOn);
  param(24)->InitDouble("AmpEnv A", 0, 0, 100, 1, "%");
  param(25)->InitDouble("AmpEnv D", 0, 0, 100, 1, "%");
  param(26)->InitEnum("AmpEnv S", 1, 2, kOffOn);
  param(27)->InitDouble("AmpEnv R", 0, 0, 100, 1, "%");
  param(28)->InitEnum("Chorus", 0, 2, kOffOn);
  param(29)->InitDouble("Cho LFO1", 7, 0, 100, 1, "%");
  param(30)->InitDouble("Cho LFO2", 13, 0, 100, 1, "%");
  param(31)->InitDouble("Cho Dpt", 20, 0, 100, 1, "%");
}
