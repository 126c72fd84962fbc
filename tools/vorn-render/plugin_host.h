// One VST 2 plug-in instance seen from the host side: the effect record from
// the entry point, the dispatcher calls a host makes, and the host callback
// the plug-in calls back into. The tool hosts one plug-in per process, so the
// callback finds its host through one process-wide pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/vst2/vst2_abi.h"
#include "tools/vorn-render/tempo_map.h"

namespace render {

extern const char* const kHostProductString;
extern const char* const kHostVendorString;

class PluginHost {
 public:
  // Calls the entry point and checks the record it returns.
  static std::unique_ptr<PluginHost> Create(vst2::EntryPoint entry, double sampleRate, std::int32_t blockSize,
                                            std::string& error);
  // Switches processing off if it is on, then effClose.
  ~PluginHost();

  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  const vst2::AEffect& Effect() const { return *effect_; }
  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f);

  // effOpen, effSetSampleRate and effSetBlockSize with the values given to Create.
  void Open();
  void SetProcessing(bool on);
  // A text opcode with a buffer much larger than the convention asks for, so
  // an overlong answer cannot overrun it; the answer is cut to printable text.
  std::string Text(std::int32_t opcode, std::int32_t index = 0);

  // Called before each block: what audioMasterGetTime reports next.
  void SetTransport(std::int64_t samplePosition, const MusicalPosition& position);
  // processReplacing, or the accumulating process into cleared outputs for
  // plug-ins that cannot replace.
  void Process(float** inputs, float** outputs, std::int32_t frames);

  bool CanReplace() const;

 private:
  PluginHost(double sampleRate, std::int32_t blockSize);
  static vst2::IntPtr VST_CALL Callback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                        vst2::IntPtr value, void* ptr, float opt);
  vst2::IntPtr Answer(std::int32_t opcode, std::int32_t index, vst2::IntPtr value, void* ptr, float opt);

  vst2::AEffect* effect_ = nullptr;
  double sampleRate_;
  std::int32_t blockSize_;
  bool processing_ = false;
  vst2::VstTimeInfo timeInfo_{};
};

}  // namespace render
