// The VST 2.4 binary interface as hosts and plug-ins exchange it: records,
// opcode numbers and flag values, declared from the published ABI. Everything
// here crosses the library boundary, so layouts are checked for 32- and 64-bit.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VST_CALL __cdecl
#else
#define VST_CALL
#endif

namespace vst2 {

using IntPtr = std::intptr_t;

struct AEffect;

using HostCallback = IntPtr(VST_CALL*)(AEffect* effect, std::int32_t opcode, std::int32_t index, IntPtr value,
                                       void* ptr, float opt);
using DispatcherProc = IntPtr(VST_CALL*)(AEffect* effect, std::int32_t opcode, std::int32_t index, IntPtr value,
                                         void* ptr, float opt);
using ProcessProc = void(VST_CALL*)(AEffect* effect, float** inputs, float** outputs, std::int32_t frames);
using ProcessDoubleProc = void(VST_CALL*)(AEffect* effect, double** inputs, double** outputs, std::int32_t frames);
using SetParameterProc = void(VST_CALL*)(AEffect* effect, std::int32_t index, float value);
using GetParameterProc = float(VST_CALL*)(AEffect* effect, std::int32_t index);
using EntryPoint = AEffect*(VST_CALL*)(HostCallback host);

constexpr std::int32_t FourCharCode(const char (&text)[5]) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
                                   (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
                                   (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
                                   static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])));
}

constexpr std::int32_t kEffectMagic = FourCharCode("VstP");

struct AEffect {
  std::int32_t magic;
  DispatcherProc dispatcher;
  ProcessProc process;
  SetParameterProc setParameter;
  GetParameterProc getParameter;
  std::int32_t numPrograms;
  std::int32_t numParams;
  std::int32_t numInputs;
  std::int32_t numOutputs;
  std::int32_t flags;
  IntPtr resvd1;
  IntPtr resvd2;
  std::int32_t initialDelay;
  std::int32_t realQualities;
  std::int32_t offQualities;
  float ioRatio;
  void* object;
  void* user;
  std::int32_t uniqueID;
  std::int32_t version;
  ProcessProc processReplacing;
  ProcessDoubleProc processDoubleReplacing;
  char future[56];
};

enum EffectFlags : std::int32_t {
  effFlagsHasEditor = 1 << 0,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsCanDoubleReplacing = 1 << 12,
};

enum EffectOpcode : std::int32_t {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effSetSpeakerArrangement = 42,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetVstVersion = 58,
  effGetMidiKeyName = 66,
  effGetSpeakerArrangement = 69,
};

enum HostOpcode : std::int32_t {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterIOChanged = 13,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterCanDo = 37,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
};

enum EventType : std::int32_t {
  kVstMidiType = 1,
  kVstSysExType = 6,
};

struct VstEvent {
  std::int32_t type;
  std::int32_t byteSize;
  std::int32_t deltaFrames;
  std::int32_t flags;
  char data[16];
};

struct VstMidiEvent {
  std::int32_t type;
  std::int32_t byteSize;
  std::int32_t deltaFrames;
  std::int32_t flags;
  std::int32_t noteLength;
  std::int32_t noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

struct VstMidiSysexEvent {
  std::int32_t type;
  std::int32_t byteSize;
  std::int32_t deltaFrames;
  std::int32_t flags;
  std::int32_t dumpBytes;
  IntPtr resvd1;
  char* sysexDump;
  IntPtr resvd2;
};

// The host declares the list with two entries; it really holds numEvents.
struct VstEvents {
  std::int32_t numEvents;
  IntPtr reserved;
  VstEvent* events[2];
};

// The list's entries as the open-ended array they are, so that reading past
// the declared two is not an out-of-bounds index.
inline VstEvent* const* EventEntries(const VstEvents* list) {
  return reinterpret_cast<VstEvent* const*>(reinterpret_cast<const char*>(list) + offsetof(VstEvents, events));
}

enum TimeInfoFlags : std::int32_t {
  kVstTransportChanged = 1,
  kVstTransportPlaying = 1 << 1,
  kVstTransportCycleActive = 1 << 2,
  kVstTransportRecording = 1 << 3,
  kVstNanosValid = 1 << 8,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstCyclePosValid = 1 << 12,
  kVstTimeSigValid = 1 << 13,
  kVstSmpteValid = 1 << 14,
  kVstClockValid = 1 << 15,
};

struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  std::int32_t timeSigNumerator;
  std::int32_t timeSigDenominator;
  std::int32_t smpteOffset;
  std::int32_t smpteFrameRate;
  std::int32_t samplesToNextClock;
  std::int32_t flags;
};

enum PinFlags : std::int32_t {
  kVstPinIsActive = 1 << 0,
  kVstPinIsStereo = 1 << 1,
  kVstPinUseSpeaker = 1 << 2,
};

struct VstPinProperties {
  char label[64];
  std::int32_t flags;
  std::int32_t arrangementType;
  char shortLabel[8];
  char future[48];
};

enum SpeakerArrangementType : std::int32_t {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  std::int32_t type;
  char future[28];
};

struct VstSpeakerArrangement {
  std::int32_t type;
  std::int32_t numChannels;
  VstSpeakerProperties speakers[8];
};

struct MidiKeyName {
  std::int32_t thisProgramIndex;
  std::int32_t thisKeyNumber;
  char keyName[64];
  std::int32_t reserved;
  std::int32_t flags;
};

struct ERect {
  std::int16_t top;
  std::int16_t left;
  std::int16_t bottom;
  std::int16_t right;
};

enum PlugCategory : std::int32_t {
  kPlugCategEffect = 1,
  kPlugCategSynth = 2,
};

// Conventional buffer sizes hosts pass with the name and text opcodes.
constexpr std::size_t kVstMaxProgNameLen = 24;
constexpr std::size_t kVstMaxParamStrLen = 8;
constexpr std::size_t kVstMaxVendorStrLen = 64;
constexpr std::size_t kVstMaxProductStrLen = 64;
constexpr std::size_t kVstMaxEffectNameLen = 32;

constexpr bool kIs64Bit = sizeof(void*) == 8;

static_assert(sizeof(AEffect) == (kIs64Bit ? 192 : 144), "AEffect layout");
static_assert(offsetof(AEffect, numPrograms) == (kIs64Bit ? 40 : 20), "AEffect layout");
static_assert(offsetof(AEffect, flags) == (kIs64Bit ? 56 : 36), "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == (kIs64Bit ? 80 : 48), "AEffect layout");
static_assert(offsetof(AEffect, object) == (kIs64Bit ? 96 : 64), "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == (kIs64Bit ? 112 : 72), "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == (kIs64Bit ? 120 : 80), "AEffect layout");
static_assert(offsetof(AEffect, future) == (kIs64Bit ? 136 : 88), "AEffect layout");
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent layout");
static_assert(sizeof(VstMidiSysexEvent) == (kIs64Bit ? 48 : 32), "VstMidiSysexEvent layout");
static_assert(offsetof(VstEvents, events) == (kIs64Bit ? 16 : 8), "VstEvents layout");
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert(sizeof(VstPinProperties) == 128, "VstPinProperties layout");
static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties layout");
static_assert(sizeof(VstSpeakerArrangement) == 904, "VstSpeakerArrangement layout");
static_assert(sizeof(MidiKeyName) == 80, "MidiKeyName layout");
static_assert(sizeof(ERect) == 8, "ERect layout");

}  // namespace vst2
