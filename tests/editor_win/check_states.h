// The editor states the Windows host photographs and the reference program
// composes on the headless surface: each is reached from a freshly created
// plug-in (factory bank, first program) by the host's own parameter calls.
#pragma once

namespace editor_check {

struct ParameterSetting {
  int index;
  float value;
};

struct CheckState {
  const char* name;  // file names: <name>.png (reference), <name>-win<bits>.png
  const ParameterSetting* settings;
  int count;
};

constexpr ParameterSetting kAutomated[] = {{0, 0.75f}, {19, 1.0f}};

constexpr CheckState kStates[] = {
    {"opened", nullptr, 0},
    {"automated", kAutomated, 2},
};

}  // namespace editor_check
