// The 32 parameters: names, kinds, ranges, defaults, steps, shapes, labels
// and display texts.
#include <cmath>
#include <cstdio>

#include "engine/engine_parameter.h"
#include "engine/note_frequency.h"
#include "product/vorn.h"
#include "plugin/int_conversion.h"

namespace {

const char* const kOffOn[] = {"Off", "On"};
const char* const kMonophonTexts[] = {"Off", "Multiple", "Single"};
const char* const kWaveTexts[] = {"Saw", "Square"};
const char* const kFmSourceTexts[] = {"LFO", "Env"};
const char* const kFilterModeTexts[] = {"Smooth", "Dirty"};
const char* const kLfoWaveTexts[] = {"Triangle", "Square", "S/H"};

}  // namespace

void DisplayFilterFrequency(double value, char* text) {
  const int pitchIndex = TruncateToInt(std::floor(value + 0.5));
  std::snprintf(text, IParam::kDisplaySize, "%d", TruncateToInt(NoteFrequency(pitchIndex)));
}

void Vorn::InitParameters() {
  namespace ep = engine_parameter;
  // Ranges, defaults and shapes come from the engine's table; names, steps,
  // labels and texts are the plug-in's.
  auto continuous = [this](int index, const char* name, double step, const char* label) {
    const ep::Range& r = ep::kRanges[index];
    GetParam(index)->InitDouble(name, r.defaultValue, r.min, r.max, step, label, r.shape);
  };
  auto integer = [this](int index, const char* name) {
    const ep::Range& r = ep::kRanges[index];
    GetParam(index)->InitInt(name, static_cast<int>(r.defaultValue), static_cast<int>(r.min), static_cast<int>(r.max));
  };
  auto choice = [this](int index, const char* name, int count, const char* const* texts) {
    GetParam(index)->InitEnum(name, static_cast<int>(ep::kRanges[index].defaultValue), count, texts);
  };
  continuous(ep::kVolume, "Volume", 1, "%");
  choice(ep::kMonophon, "Monophon", 3, kMonophonTexts);
  continuous(ep::kPitchBendRange, "PB Range", 1, "");
  continuous(ep::kPortamento, "Portamnt", 0.01, "s");
  continuous(ep::kMasterTune, "M. Tune", 1, "");
  choice(ep::kOscWave, "Osc Wave", 2, kWaveTexts);
  continuous(ep::kFmAmount, "FM", 1, "%");
  choice(ep::kFmSource, "FM Src", 2, kFmSourceTexts);
  integer(ep::kOsc2Transpose, "Osc2Trns");
  integer(ep::kOsc2Tune, "Osc2Tune");
  choice(ep::kSync, "Sync", 2, kOffOn);
  choice(ep::kFilterMode, "Flt Mode", 2, kFilterModeTexts);
  continuous(ep::kFilterFrequency, "Flt Freq", 1, "Hz");
  GetParam(ep::kFilterFrequency)->SetDisplayFunction(DisplayFilterFrequency);
  continuous(ep::kFilterResonance, "Flt Reso", 1, "%");
  continuous(ep::kFilterEnvAmount, "Flt Env", 1, "%");
  continuous(ep::kFilterLfoAmount, "Flt LFO", 1, "%");
  continuous(ep::kFilterKeyTrack, "Flt Note", 1, "%");
  continuous(ep::kFilterVelocity, "Flt Velo", 1, "%");
  continuous(ep::kAmpVelocity, "Amp Velo", 1, "%");
  choice(ep::kLfoWave, "LFO Wave", 3, kLfoWaveTexts);
  continuous(ep::kLfoFrequency, "LFO Freq", 0.01, "Hz");
  continuous(ep::kFilterEnvAttack, "FltEnv A", 1, "%");
  continuous(ep::kFilterEnvDecay, "FltEnv D", 1, "%");
  choice(ep::kFilterEnvSustain, "FltEnv S", 2, kOffOn);
  continuous(ep::kAmpEnvAttack, "AmpEnv A", 1, "%");
  continuous(ep::kAmpEnvDecay, "AmpEnv D", 1, "%");
  choice(ep::kAmpEnvSustain, "AmpEnv S", 2, kOffOn);
  continuous(ep::kAmpEnvRelease, "AmpEnv R", 1, "%");
  choice(ep::kChorus, "Chorus", 2, kOffOn);
  continuous(ep::kChorusLfo1, "Cho LFO1", 1, "%");
  continuous(ep::kChorusLfo2, "Cho LFO2", 1, "%");
  continuous(ep::kChorusDepth, "Cho Dpt", 1, "%");
}
