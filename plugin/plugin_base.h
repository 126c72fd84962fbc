// The host-independent core of the plug-in object: parameters, program slots,
// audio channel records and the one recursive mutex. The host binding, the
// product shell and the synthesizer meet through its virtual operations.
//
// Threads: host entries (dispatcher, parameter and audio callbacks) and the
// editor hold the mutex for their whole duration; the operations below that
// take it themselves say so.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/byte_chunk.h"
#include "plugin/host_kind.h"
#include "plugin/iparam.h"
#include "plugin/ipreset.h"
#include "plugin/midi_message.h"
#include "plugin/time_info.h"

class IEditorView;

struct ChannelConfig {
  int inputs = 0;
  int outputs = 0;
};

class PluginBase {
 public:
  static constexpr int kParameterCount = 32;
  static constexpr int kPresetCount = 64;
  static constexpr int kNameSize = 128;
  static constexpr int kStartBlockSize = 1024;

  struct InputChannel {
    bool connected = false;
    double** slot = nullptr;
    std::vector<double> scratch;
    std::string label;
  };
  struct OutputChannel {
    bool connected = false;
    double** slot = nullptr;
    float* floatDestination = nullptr;
    std::vector<double> scratch;
    std::string label;
  };

  PluginBase(const char* effectName, const char* productName, const char* vendorName, int uniqueId, int version,
             const char* channelIoText);
  PluginBase(const PluginBase&) = delete;
  PluginBase& operator=(const PluginBase&) = delete;
  virtual ~PluginBase();

  // --- Virtual operations, in table order ---
  virtual void ResetEngine();
  virtual void ApplyParameter(int index);
  virtual void RenderBlock(double** inputs, double** outputs, int frames);
  virtual void OnEditorOpened() {}
  virtual void OnEditorClosing() {}
  virtual void OnIdle() {}
  virtual void OnActivate(bool active);
  virtual void HandleMidiMessage(const MidiMessage& message);
  virtual void HandleSysEx(const SysExMessage&) {}
  virtual bool GetMidiNoteName(int note, char* text);
  virtual bool SerializeState(ByteChunk& chunk);
  virtual int UnserializeState(const ByteChunk& chunk, int pos);
  virtual bool CompareState(const double* values, int start);
  virtual void OnEditorResized() {}
  virtual void OnHostKnown() {}
  // Editor thread; takes the mutex. The host hears exactly `normalized`.
  virtual void SetParameterFromEditor(int index, double normalized);
  virtual void BeginHostParamEdit(int index) = 0;
  virtual void NotifyHostParamChange(int index, double normalized) = 0;
  virtual void EndHostParamEdit(int index) = 0;
  virtual void NotifyHostProgramChange() = 0;
  virtual bool IsOfflineRender() { return false; }
  virtual int GetSamplePosition() = 0;
  virtual double GetTempo() = 0;
  virtual void GetTimeSignature(int& numerator, int& denominator) = 0;
  virtual void GetTimeInfo(TimeInfo& info) = 0;
  virtual HostKind GetHost() { return mHost; }
  virtual int GetApiKind() { return mApiKind; }
  virtual void ResizeEditor(int width, int height) = 0;
  virtual void InitForHost() {}
  virtual void AttachGraphics(IEditorView* editor);
  virtual void SetLatency(int samples) { mLatency = samples; }
  virtual bool SendMidiMessage(const MidiMessage& message) = 0;
  virtual bool SendSysEx(const SysExMessage&) { return false; }
  virtual void RefreshEditorControls();
  virtual int UnserializePresets(const ByteChunk& chunk, int pos);
  virtual void ModifyCurrentPreset(const char* name = nullptr);
  virtual void OnPresetChange() {}
  virtual void SetSampleRate(double rate) { mSampleRate = rate; }
  virtual void SetBlockSize(int frames);

  // --- Parameters ---
  IParam* GetParam(int index);
  const IParam* GetParam(int index) const;
  void ApplyAllParameters();
  // Takes the mutex.
  void NotifyHostAllParams();

  // --- Channels ---
  bool LegalIO(int inputs, int outputs) const;
  int InputCount() const { return static_cast<int>(mInputs.size()); }
  int OutputCount() const { return static_cast<int>(mOutputs.size()); }
  void SetInputsConnected(int first, int count, bool connected);
  void SetOutputsConnected(int first, int count, bool connected);
  const std::vector<ChannelConfig>& ChannelConfigs() const { return mChannelConfigs; }

  // --- Programs and state (plugin/presets.cpp) ---
  bool SelectPreset(int index);
  const char* GetPresetName(int index) const;
  void FillEmptyPresets(int count);
  // Take the mutex.
  bool SerializeParams(ByteChunk& chunk);
  int UnserializeParams(const ByteChunk& chunk, int pos);
  bool SerializePresets(ByteChunk& chunk);
  int CurrentPresetIndex() const { return mCurrentPreset.load(std::memory_order_relaxed); }
  IPreset& Preset(int index) { return mPresets[static_cast<std::size_t>(index)]; }
  const IPreset& Preset(int index) const { return mPresets[static_cast<std::size_t>(index)]; }

  // --- Program and bank files (plugin/program_files.cpp) ---
  bool SaveProgramFile(const char* path);
  bool SaveBankFile(const char* path);
  bool LoadProgramFile(const char* path);
  bool LoadBankFile(const char* path);
  void LoadBankFromMemory(const void* bytes, int size);
  // In-memory forms of the two files, shared by the savers and the tools.
  void BuildProgramFile(ByteChunk& file);
  void BuildBankFile(ByteChunk& file);
  bool LoadProgramFromMemory(const ByteChunk& file);
  bool LoadBankFileFromMemory(const ByteChunk& file);

  // --- Identity and settings ---
  std::recursive_mutex& Mutex() { return mMutex; }
  const char* EffectName() const { return mEffectName; }
  const char* ProductName() const { return mProductName; }
  const char* VendorName() const { return mVendorName; }
  int UniqueId() const { return mUniqueId; }
  int Version() const { return mVersion; }
  // major * 10000 + minor * 100 + patch, as hosts and files see the version.
  int DecimalVersion() const;
  double SampleRate() const { return mSampleRate; }
  int BlockSize() const { return mBlockSize; }
  int Latency() const { return mLatency; }
  int TailSize() const { return mTailSize; }
  bool HasStateChunks() const { return mStateChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  bool DoesMidi() const { return mDoesMidi; }
  IEditorView* Editor() const { return mEditor; }

 protected:
  void SetHostIdentity(HostKind kind, int version) {
    mHost = kind;
    mHostVersion = version;
  }
  int HostVersion() const { return mHostVersion; }
  double** InputPointers() { return mInputPointers.data(); }
  double** OutputPointers() { return mOutputPointers.data(); }
  std::vector<InputChannel>& Inputs() { return mInputs; }
  std::vector<OutputChannel>& Outputs() { return mOutputs; }
  void DeleteEditor();

 private:
  std::vector<ChannelConfig> mChannelConfigs;
  std::recursive_mutex mMutex;
  char mEffectName[kNameSize] = {};
  char mProductName[kNameSize] = {};
  char mVendorName[kNameSize] = {};
  int mUniqueId;
  int mVersion;
  HostKind mHost = kHostUnidentified;
  int mHostVersion = 0;
  int mApiKind = 0;
  bool mStateChunks = true;
  bool mIsInstrument = true;
  bool mDoesMidi = true;
  // Changed under the mutex; the editor's window thread reads it to draw.
  std::atomic<int> mCurrentPreset{0};
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency = 0;
  int mTailSize = 0;
  std::array<IParam, kParameterCount> mParams;
  std::array<IPreset, kPresetCount> mPresets;
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;
  std::vector<InputChannel> mInputs;
  std::vector<OutputChannel> mOutputs;
  IEditorView* mEditor = nullptr;  // owned
};
