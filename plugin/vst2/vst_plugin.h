// Binds the plug-in object to a VST 2 host: the effect record, the
// dispatcher, the audio and parameter callbacks, MIDI intake, chunks, and the
// host-facing operations of PluginBase through the host callback.
//
// Threads: the host calls the dispatcher and the callbacks from its own
// threads; every entry holds the plug-in mutex for its whole duration.
#pragma once

#include <limits>

#include "plugin/plugin_base.h"
#include "plugin/vst2/vst2_abi.h"

class VstPlugin : public PluginBase {
 public:
  // Host buffer sizes the text opcodes write into, terminator included.
  static constexpr int kProgramNameBufferSize = 24;
  static constexpr int kParamTextBufferSize = 9;
  static constexpr int kEffectNameBufferSize = 32;
  static constexpr int kVendorBufferSize = 64;
  static constexpr int kHostStringSize = 256;
  // Hosts that announce larger blocks are rendered in slices of this size.
  static constexpr int kMaxBlockSize = 1 << 16;
  static constexpr vst2::IntPtr kCockosAnswer = static_cast<vst2::IntPtr>(0xBEEF0000u);
  static constexpr vst2::IntPtr kVendorExtensionAnswer = 0xBEEF;

  VstPlugin(vst2::HostCallback host, const char* effectName, const char* productName, const char* vendorName,
            int uniqueId, int version, const char* channelIoText, int programCount);

  vst2::AEffect* Effect() { return &mEffect; }

  void BeginHostParamEdit(int index) override;
  void NotifyHostParamChange(int index, double normalized) override;
  void EndHostParamEdit(int index) override;
  void NotifyHostProgramChange() override;
  bool IsOfflineRender() override;
  int GetSamplePosition() override;
  double GetTempo() override;
  void GetTimeSignature(int& numerator, int& denominator) override;
  void GetTimeInfo(TimeInfo& info) override;
  HostKind GetHost() override;
  void ResizeEditor(int width, int height) override;
  void InitForHost() override;
  void AttachGraphics(IEditorView* editor) override;
  void SetLatency(int samples) override;
  bool SendMidiMessage(const MidiMessage& message) override;
  bool SendSysEx(const SysExMessage& message) override;

  // The sample rates the plug-in renders at: host rates outside are clamped
  // into them. The product names them once it knows its engine; until then
  // any finite positive rate passes.
  void SetRenderableSampleRates(double lowest, double highest);

  // Disconnects every input from the third on.
  void LimitToStereo();
  // True for hosts that exchange program chunks where others ask for banks;
  // decided once from the host's vendor string.
  bool HostWantsProgramChunks();
  int ExtensionFlags() const { return mExtensionFlags; }
  // True when the effect record offers the host an editor window.
  bool OffersEditor() const { return Editor() && (mEffect.flags & vst2::effFlagsHasEditor) != 0; }

 private:
  static vst2::IntPtr VST_CALL VSTDispatcher(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                             vst2::IntPtr value, void* ptr, float opt);
  static void VST_CALL VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs, std::int32_t frames);
  static void VST_CALL VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs, std::int32_t frames);
  static void VST_CALL VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs, double** outputs,
                                                 std::int32_t frames);
  static float VST_CALL VSTGetParameter(vst2::AEffect* effect, std::int32_t index);
  static void VST_CALL VSTSetParameter(vst2::AEffect* effect, std::int32_t index, float value);

  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index, vst2::IntPtr value, void* ptr, float opt);
  vst2::IntPtr GetChunk(std::int32_t index, void* ptr);
  vst2::IntPtr SetChunk(std::int32_t index, vst2::IntPtr size, void* ptr);
  vst2::IntPtr StringToParameter(std::int32_t index, const char* text);
  vst2::IntPtr CanDo(const char* text);
  vst2::IntPtr VendorSpecific(std::int32_t index, vst2::IntPtr value, void* ptr, float opt);
  vst2::IntPtr PinProperties(bool input, std::int32_t index, void* ptr);
  void ProcessEvents(const vst2::VstEvents* events);
  void SetSpeakerArrangement(const vst2::VstSpeakerArrangement* input, const vst2::VstSpeakerArrangement* output);
  void ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate);
  void ProcessDouble(double** inputs, double** outputs, int frames);
  void RefreshChannelCounts();
  const vst2::VstTimeInfo* QueryTime(std::int32_t flags);
  vst2::IntPtr CallHost(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f);

  vst2::HostCallback mHostCallback;
  vst2::ERect mEditorRect{};
  vst2::VstSpeakerArrangement mInputArrangement{};
  vst2::VstSpeakerArrangement mOutputArrangement{};
  bool mHostSetUpDone = false;
  int mExtensionFlags = 0;
  ByteChunk mProgramChunk;
  ByteChunk mBankChunk;
  bool mWantsProgramChunks = false;
  bool mWantsProgramChunksKnown = false;
  double mLowestSampleRate = std::numeric_limits<double>::min();
  double mHighestSampleRate = std::numeric_limits<double>::max();
  vst2::AEffect mEffect{};
};
