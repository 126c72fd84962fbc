// The checks, one function per area. Each makes the instances it needs from
// the entry point and counts its results in the report.
#pragma once

#include "plugin/vst2/vst2_abi.h"
#include "tests/host/check_report.h"

class PluginLibrary;

struct CheckContext {
  const PluginLibrary& library;
  vst2::EntryPoint entry;  // VSTPluginMain
  CheckReport& report;
};

void CheckEffectRecord(CheckContext& context);
void CheckDispatcherAnswers(CheckContext& context);
void CheckPinsAndSpeakers(CheckContext& context);
void CheckPrograms(CheckContext& context);
void CheckParameterTexts(CheckContext& context);
void CheckParameterCallbacks(CheckContext& context);
void CheckChunks(CheckContext& context);
void CheckVendorChunkRule(CheckContext& context);
void CheckMidiIntake(CheckContext& context);
void CheckAudioCallbacks(CheckContext& context);
void CheckSampleRates(CheckContext& context);
void CheckHostIdentification(CheckContext& context);
void CheckBadPointers(CheckContext& context);
