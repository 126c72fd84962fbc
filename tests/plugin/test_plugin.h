// A plug-in frame with a recording host in place of a real binding, and a
// small parameter set that exercises every kind.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "plugin/plugin_base.h"

class TestPlugin : public PluginBase {
 public:
  explicit TestPlugin(const char* channelIoText = "0-1 0-2")
      : PluginBase("Test", "", "Vendor", 0x766F726E, 0x00010200, channelIoText) {
    for (int i = 4; i < kParameterCount; ++i) {
      const std::string name = "P" + std::to_string(i);
      GetParam(i)->InitDouble(name.c_str(), 0.0, -100.0, 100.0, 0.01, "%");
    }
    GetParam(0)->InitDouble("P0", 0.0, -100.0, 100.0, 0.01, "%");
    GetParam(1)->InitInt("Semis", 0, -24, 24);
    static const char* const kTexts[] = {"Off", "Multiple", "Single"};
    GetParam(2)->InitEnum("Mode", 0, 3, kTexts);
    GetParam(3)->InitDouble("Shaped", 0.0, 0.0, 5.0, 0.01, "s", 4.0);
  }

  void ApplyParameter(int index) override { applied.push_back(index); }
  void BeginHostParamEdit(int index) override { hostCalls.push_back({"begin", index}); }
  void NotifyHostParamChange(int index, double normalized) override {
    hostCalls.push_back({"automate", index});
    automated.push_back(normalized);
  }
  void EndHostParamEdit(int index) override { hostCalls.push_back({"end", index}); }
  void NotifyHostProgramChange() override { ++programChanges; }
  int GetSamplePosition() override { return 0; }
  double GetTempo() override { return 0.0; }
  void GetTimeSignature(int& numerator, int& denominator) override { numerator = denominator = 0; }
  void GetTimeInfo(TimeInfo&) override {}
  void ResizeEditor(int, int) override {}
  bool SendMidiMessage(const MidiMessage&) override { return false; }

  using PluginBase::InputPointers;
  using PluginBase::OutputPointers;
  using PluginBase::Outputs;

  void SetAll(double value) {
    for (int i = 0; i < kParameterCount; ++i) GetParam(i)->SetValue(value);
  }

  std::vector<int> applied;
  std::vector<std::pair<std::string, int>> hostCalls;
  std::vector<double> automated;
  int programChanges = 0;
};
