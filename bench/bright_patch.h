// The benchmarks' "bright" patch: a hard-synced, frequency-modulated sound
// with the filter open and moving and the chorus on, so every part of a voice
// works. The parameter defaults, then these values.
#pragma once

#include <utility>

#include "engine/engine_parameter.h"

inline constexpr std::pair<int, double> kBrightPatch[] = {{engine_parameter::kVolume, 40},
                                                          {engine_parameter::kFmAmount, 35},
                                                          {engine_parameter::kOsc2Transpose, 7},
                                                          {engine_parameter::kOsc2Tune, 9},
                                                          {engine_parameter::kSync, 1},
                                                          {engine_parameter::kFilterFrequency, 15500},
                                                          {engine_parameter::kFilterResonance, 35},
                                                          {engine_parameter::kFilterLfoAmount, 60},
                                                          {engine_parameter::kFilterEnvAmount, 70},
                                                          {engine_parameter::kFilterEnvSustain, 1},
                                                          {engine_parameter::kLfoFrequency, 5},
                                                          {engine_parameter::kChorus, 1},
                                                          {engine_parameter::kChorusDepth, 50}};
