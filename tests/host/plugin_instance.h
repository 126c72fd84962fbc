// One plug-in instance as a host holds it: the effect record from the entry
// point, the host callback's answers and a count of every request the
// plug-in made of the host.
#pragma once

#include <atomic>
#include <string>

#include "plugin/vst2/vst2_abi.h"

class PluginLibrary;

// What the host says about itself when the plug-in asks.
struct HostIdentity {
  std::string vendor = "Paper Kite Test Rig";
  std::string product = "vorn-hostcheck";
  std::int32_t vendorVersion = 10000;
};

// Requests the plug-in made through the host callback, counted per opcode.
// The audio thread asks for MIDI while another thread may read the counts.
struct HostRequestCounts {
  static constexpr int kOpcodeCount = 64;
  std::atomic<int> byOpcode[kOpcodeCount] = {};
  std::atomic<int> unknown{0};

  int Of(std::int32_t opcode) const;
};

class PluginInstance {
 public:
  // Calls `entry` with the host callback. effect() is null when the entry
  // point returned no record or a record without the VST 2 magic.
  PluginInstance(vst2::EntryPoint entry, HostIdentity identity = HostIdentity());
  // Switches processing off when it was on, then effClose.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  vst2::AEffect* effect() const { return effect_; }
  bool IsValid() const { return effect_ != nullptr; }

  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr,
                        float opt = 0.0f) const;

  // effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged on: what a
  // host does before its first audio callback.
  void Start(float sampleRate, std::int32_t blockSize);
  // effClose as a careless host sends it, with processing still on; the
  // instance is gone afterwards.
  void CloseAbruptly();
  // The factory program "Init" holds the parameter defaults.
  void SelectProgram(std::int32_t index) const;

  float GetParameter(std::int32_t index) const;
  void SetParameter(std::int32_t index, float value) const;
  std::string ProgramName() const;
  std::string ProgramNameIndexed(std::int32_t index) const;
  std::string ParameterText(std::int32_t opcode, std::int32_t index) const;

  const HostIdentity& identity() const { return identity_; }
  const HostRequestCounts& requests() const { return requests_; }
  float sampleRate() const { return sampleRate_; }
  std::int32_t blockSize() const { return blockSize_; }

 private:
  // The plug-in calls this from any of its threads: while the entry point
  // runs, inside dispatcher calls, and on the audio thread (want-MIDI). It
  // only counts (atomically) and reads what Start fixed before processing.
  static vst2::IntPtr VST_CALL HostCallback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                            vst2::IntPtr value, void* ptr, float opt);
  vst2::IntPtr Answer(std::int32_t opcode, void* ptr);

  HostIdentity identity_;
  HostRequestCounts requests_;
  vst2::AEffect* effect_ = nullptr;
  float sampleRate_ = 44100.0f;
  std::int32_t blockSize_ = 1024;
  bool processing_ = false;
};

// The program's entry point, found once by main and shared by every check.
struct PluginEntry {
  const PluginLibrary* library = nullptr;
  vst2::EntryPoint entry = nullptr;
};

// Buffer size for the texts the plug-in writes; generous, since the checker
// looks for writes beyond what the plug-in should write.
constexpr int kTextBufferSize = 256;
