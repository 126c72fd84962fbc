// What Vorn tells a host about itself: identity, parameter names, labels and
// default displays, factory program names. The checks compare the plug-in's
// answers with these.
#pragma once

#include <cstdint>
#include <string>

#include "vorn_version.h"

namespace vorn_facts {

constexpr int kParameterCount = 32;
constexpr int kProgramCount = 64;
constexpr std::int32_t kUniqueId = 0x766F726E;  // 'vorn'
constexpr std::int32_t kVersion = kVornVersionNumber;
constexpr std::int32_t kIdentify = 0x4E764566;  // 'NvEf'
constexpr std::int32_t kVstVersion = 2400;
constexpr std::int32_t kSynthCategory = 2;
constexpr const char* kEffectName = "Vorn";
constexpr const char* kVendor = "Paper Kite Sounds";
constexpr const char* kStateTag = "Vorn_1.2.0";
constexpr int kStateTagLength = 10;
// The factory program holding every parameter's default.
constexpr int kInitProgram = 63;

// Parameter indices the checks address by name.
enum Parameter : int {
  kVolume = 0,
  kMonophon = 1,
  kPortamento = 3,
  kOsc2Transpose = 8,
  kFilterFrequency = 12,
  kLfoFrequency = 20,
  kChorus = 28,
};

extern const char* const kParameterNames[kParameterCount];
extern const char* const kParameterLabels[kParameterCount];
// effGetParamDisplay of every parameter at its default; "Flt Freq" shows
// Hertz and is worked out by FilterFrequencyText.
extern const char* const kDefaultDisplays[kParameterCount];
extern const double kDefaultValues[kParameterCount];
extern const char* const kFactoryProgramNames[kProgramCount];

// The "Flt Freq" display of a pitch index: the Hertz of the nearest whole
// pitch index on the note-frequency table, truncated.
std::string FilterFrequencyText(double pitchIndex);

}  // namespace vorn_facts
