// The dispatcher's opcodes: everything the host asks outside the audio and
// parameter callbacks. Runs with the plug-in mutex held (VSTDispatcher).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/editor_view.h"
#include "plugin/number_text.h"
#include "plugin/text_copy.h"
#include "plugin/vst2/vst_plugin.h"

namespace {

using vst2::IntPtr;

constexpr std::int32_t kIdentifyAnswer = vst2::FourCharCode("NvEf");
constexpr IntPtr kVstVersion = 2400;
constexpr std::int32_t kVendorSpecificDisplay = 7;
constexpr std::int32_t kVendorSpecificIsStepped = 8;
constexpr int kExtensionCockos = 1 << 0;
constexpr int kExtensionCockosViewAsConfig = 1 << 1;

void CopyText(void* ptr, const char* text, int bufferSize) {
  CopyTruncated(static_cast<char*>(ptr), text, static_cast<std::size_t>(bufferSize));
}

bool ValidParameter(IntPtr index) { return index >= 0 && index < PluginBase::kParameterCount; }

// Reads a decimal number after leading white space: sign, digits, fraction,
// exponent, stopping at the first character that cannot continue it; 0 when
// there is none. Hexadecimal, "inf" and "nan" are not numbers here.
double ParseNumber(const char* text) {
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  std::string number;
  auto take = [&p, &number](auto accept) {
    while (accept(static_cast<unsigned char>(*p))) number += *p++;
  };
  auto digit = [](unsigned char c) { return std::isdigit(c) != 0; };
  if (*p == '+' || *p == '-') number += *p++;
  take(digit);
  if (*p == '.') {
    number += *p++;
    take(digit);
  }
  if ((*p == 'e' || *p == 'E') && number.find_first_of("0123456789") != std::string::npos) {
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (std::isdigit(static_cast<unsigned char>(*exponent))) {
      number.append(p, exponent);
      p = exponent;
      take(digit);
    }
  }
  double value = 0.0;
  return ParseDecimal(number, value) && std::isfinite(value) ? value : 0.0;
}

}  // namespace

IntPtr VstPlugin::Dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case vst2::effOpen:
      InitForHost();
      ApplyAllParameters();
      return 0;
    case vst2::effSetProgram:
      ModifyCurrentPreset();
      SelectPreset(static_cast<int>(std::clamp<IntPtr>(value, -1, kPresetCount)));
      return 0;
    case vst2::effGetProgram: return CurrentPresetIndex();
    case vst2::effSetProgramName:
      if (ptr) {
        ModifyCurrentPreset(static_cast<const char*>(ptr));
        OnPresetChange();
      }
      return 0;
    case vst2::effGetProgramName:
      if (ptr) CopyText(ptr, GetPresetName(CurrentPresetIndex()), kProgramNameBufferSize);
      return 0;
    case vst2::effGetParamLabel:
      if (ptr && ValidParameter(index)) CopyText(ptr, GetParam(index)->GetLabel(), kParamTextBufferSize);
      return 0;
    case vst2::effGetParamDisplay:
      if (ptr && ValidParameter(index)) {
        char display[IParam::kDisplaySize];
        GetParam(index)->GetDisplay(GetParam(index)->Value(), false, display, true);
        CopyText(ptr, display, kParamTextBufferSize);
      }
      return 0;
    case vst2::effGetParamName:
      if (ptr && ValidParameter(index)) CopyText(ptr, GetParam(index)->Name(), kParamTextBufferSize);
      return 0;
    case vst2::effSetSampleRate:
      // A broken rate keeps the engine on the last good one.
      if (std::isfinite(opt) && opt > 0.0f)
        SetSampleRate(std::clamp<double>(opt, mLowestSampleRate, mHighestSampleRate));
      ResetEngine();
      return 0;
    case vst2::effSetBlockSize:
      SetBlockSize(static_cast<int>(std::clamp<IntPtr>(value, 1, kMaxBlockSize)));
      ResetEngine();
      return 0;
    case vst2::effMainsChanged:
      if (value != 0) {
        OnActivate(true);
      } else {
        OnActivate(false);
        ResetEngine();
      }
      return 0;
    case vst2::effEditGetRect:
      if (ptr && OffersEditor()) {
        *static_cast<vst2::ERect**>(ptr) = &mEditorRect;
        return 1;
      }
      return 0;
    case vst2::effEditOpen:
      if (OffersEditor() && Editor()->Open(ptr)) {
        OnEditorOpened();
        return 1;
      }
      return 0;
    case vst2::effEditClose:
      if (!Editor()) return 0;
      OnEditorClosing();
      Editor()->Close();
      return 1;
    case vst2::effEditIdle:
    case vst2::effIdle: OnIdle(); return 0;
    case vst2::effIdentify: return kIdentifyAnswer;
    case vst2::effGetChunk: return GetChunk(index, ptr);
    case vst2::effSetChunk: return SetChunk(index, value, ptr);
    case vst2::effProcessEvents:
      if (!ptr) return 0;
      ProcessEvents(static_cast<const vst2::VstEvents*>(ptr));
      return 1;
    case vst2::effCanBeAutomated: return 1;
    case vst2::effString2Parameter: return StringToParameter(index, static_cast<const char*>(ptr));
    case vst2::effGetProgramNameIndexed:
      if (!ptr) return 0;
      CopyText(ptr, GetPresetName(index), kProgramNameBufferSize);
      return static_cast<const char*>(ptr)[0] != '\0' ? 1 : 0;
    case vst2::effGetInputProperties: return PinProperties(true, index, ptr);
    case vst2::effGetOutputProperties: return PinProperties(false, index, ptr);
    case vst2::effGetPlugCategory: return IsInstrument() ? vst2::kPlugCategSynth : vst2::kPlugCategEffect;
    case vst2::effSetSpeakerArrangement:
      SetSpeakerArrangement(reinterpret_cast<const vst2::VstSpeakerArrangement*>(value),
                            static_cast<const vst2::VstSpeakerArrangement*>(ptr));
      return 1;
    case vst2::effGetEffectName:
      if (!ptr) return 0;
      CopyText(ptr, EffectName(), kEffectNameBufferSize);
      return 1;
    case vst2::effGetVendorString:
      if (!ptr) return 0;
      CopyText(ptr, VendorName(), kVendorBufferSize);
      return 1;
    case vst2::effGetProductString:
      if (!ptr) return 0;
      CopyText(ptr, ProductName(), kVendorBufferSize);
      return 1;
    case vst2::effGetVendorVersion: return DecimalVersion();
    case vst2::effVendorSpecific: return VendorSpecific(index, value, ptr, opt);
    case vst2::effCanDo: return CanDo(static_cast<const char*>(ptr));
    case vst2::effGetTailSize: return TailSize();
    case vst2::effGetVstVersion: return kVstVersion;
    case vst2::effGetMidiKeyName: {
      if (!ptr) return 0;
      auto* key = static_cast<vst2::MidiKeyName*>(ptr);
      key->keyName[0] = '\0';
      char name[sizeof key->keyName] = {};
      const bool named = GetMidiNoteName(key->thisKeyNumber, name);
      CopyText(key->keyName, name, sizeof key->keyName);
      return named ? 1 : 0;
    }
    case vst2::effGetSpeakerArrangement:
      if (value) *reinterpret_cast<vst2::VstSpeakerArrangement**>(value) = &mInputArrangement;
      if (ptr) *static_cast<vst2::VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
      return 1;
    default: return 0;
  }
}

IntPtr VstPlugin::GetChunk(std::int32_t index, void* ptr) {
  if (!ptr) return 0;
  const bool bank = index == 0 && !HostWantsProgramChunks();
  ByteChunk& chunk = bank ? mBankChunk : mProgramChunk;
  WriteChunkHeader(chunk);
  bool ok = false;
  if (bank) {
    ModifyCurrentPreset();
    ok = SerializePresets(chunk);
  } else {
    SerializeState(chunk);
    chunk.PutString(GetPresetName(CurrentPresetIndex()));
    ok = chunk.Size() != 0;
  }
  if (!ok || chunk.Size() == 0) return 0;
  *static_cast<void**>(ptr) = chunk.Data();
  return chunk.Size();
}

IntPtr VstPlugin::SetChunk(std::int32_t index, IntPtr size, void* ptr) {
  if (!ptr || size < 0 || size > kMaxChunkSize) return 0;
  const bool bank = index == 0 && !HostWantsProgramChunks();
  ByteChunk& chunk = bank ? mBankChunk : mProgramChunk;
  chunk.Clear();
  chunk.PutBytes(ptr, static_cast<int>(size));

  int pos = 0;
  const std::int32_t version = ReadChunkHeader(chunk, pos);
  if (bank && version >= kChunkFrameworkVersion) {
    pos = UnserializePresets(chunk, pos);
  } else {
    pos = UnserializeState(chunk, pos);
    if (pos < size) {
      std::string name;
      pos = chunk.GetString(name, pos);
      ModifyCurrentPreset(name.c_str());
    } else {
      ModifyCurrentPreset();
    }
  }

  if (HostWantsProgramChunks()) {
    if (pos != size) {
      mBankChunk.Clear();
      mBankChunk.PutBytes(ptr, static_cast<int>(size));
      int bankPos = 0;
      if (ReadChunkHeader(mBankChunk, bankPos) >= kChunkFrameworkVersion) {
        bankPos = UnserializePresets(mBankChunk, bankPos);
      }
      if (bankPos < 0) return 0;
    }
  } else if (pos < 0) {
    return 0;
  }
  RefreshEditorControls();
  return 1;
}

IntPtr VstPlugin::StringToParameter(std::int32_t index, const char* text) {
  IParam* param = GetParam(index);
  if (!param) return 0;
  if (!text) return 1;
  double value = 0.0;
  if (param->DisplayTexts().empty()) {
    value = ParseNumber(text);
    if (param->NegateDisplay()) value = -value;
  } else {
    const auto& texts = param->DisplayTexts();
    const auto match = std::find_if(texts.begin(), texts.end(), [text](const IParam::DisplayText& entry) {
      return std::strcmp(entry.text, text) == 0;
    });
    if (match == texts.end()) return 0;
    value = match->value;
  }
  if (IEditorView* editor = Editor()) editor->ApplyParameterToControls(index, value, false);
  param->SetValue(value);
  ApplyParameter(index);
  return 1;
}

IntPtr VstPlugin::CanDo(const char* text) {
  if (!text) return 0;
  if (std::strcmp(text, "receiveVstTimeInfo") == 0) return 1;
  if (DoesMidi()) {
    for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"}) {
      if (std::strcmp(text, midi) == 0) return 1;
    }
  }
  if (std::strcmp(text, "hasCockosExtensions") == 0) {
    mExtensionFlags |= kExtensionCockos;
    return kCockosAnswer;
  }
  if (std::strcmp(text, "hasCockosViewAsConfig") == 0) {
    mExtensionFlags |= kExtensionCockosViewAsConfig;
    return kCockosAnswer;
  }
  return 0;
}

IntPtr VstPlugin::VendorSpecific(std::int32_t index, IntPtr value, void* ptr, float opt) {
  if (index == kVendorSpecificDisplay && ptr) {
    if (ValidParameter(value)) {
      char display[IParam::kDisplaySize];
      GetParam(static_cast<int>(value))->GetDisplay(opt, true, display, true);
      CopyText(ptr, display, kParamTextBufferSize);
    }
    return kVendorExtensionAnswer;
  }
  if (index == kVendorSpecificIsStepped) {
    return ValidParameter(value) && GetParam(static_cast<int>(value))->GetKind() != IParam::kDouble
               ? kVendorExtensionAnswer
               : 0;
  }
  return 0;
}

IntPtr VstPlugin::PinProperties(bool input, std::int32_t index, void* ptr) {
  const int count = input ? InputCount() : OutputCount();
  if (index < 0 || index >= count || !ptr) return 0;
  auto* pin = static_cast<vst2::VstPinProperties*>(ptr);
  pin->flags = vst2::kVstPinIsActive;
  if (index % 2 == 0 && index + 1 < count) pin->flags |= vst2::kVstPinIsStereo;
  const std::string& label =
      input ? Inputs()[static_cast<std::size_t>(index)].label : Outputs()[static_cast<std::size_t>(index)].label;
  if (!label.empty()) {
    CopyText(pin->label, label.c_str(), sizeof pin->label);
  } else {
    std::snprintf(pin->label, sizeof pin->label, input ? "Input %d" : "Output %d", index + 1);
  }
  return 1;
}

void VstPlugin::ProcessEvents(const vst2::VstEvents* events) {
  vst2::VstEvent* const* entries = vst2::EventEntries(events);
  for (std::int32_t i = 0; i < events->numEvents; ++i) {
    const vst2::VstEvent* event = entries[i];
    if (!event) continue;
    if (event->type == vst2::kVstMidiType) {
      const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(event);
      MidiMessage message;
      message.frameOffset = midi->deltaFrames;
      message.status = static_cast<std::uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<std::uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<std::uint8_t>(midi->midiData[2]);
      HandleMidiMessage(message);
    } else if (event->type == vst2::kVstSysExType) {
      const auto* sysex = reinterpret_cast<const vst2::VstMidiSysexEvent*>(event);
      SysExMessage message;
      message.frameOffset = sysex->deltaFrames;
      message.size = sysex->dumpBytes;
      message.data = reinterpret_cast<const std::uint8_t*>(sysex->sysexDump);
      HandleSysEx(message);
    }
  }
}

void VstPlugin::SetSpeakerArrangement(const vst2::VstSpeakerArrangement* input,
                                      const vst2::VstSpeakerArrangement* output) {
  if (input) {
    const int channels = std::clamp(input->numChannels, 0, InputCount());
    SetInputsConnected(0, channels, true);
    SetInputsConnected(channels, InputCount() - channels, false);
  }
  if (output) {
    const int channels = std::clamp(output->numChannels, 0, OutputCount());
    SetOutputsConnected(0, channels, true);
    SetOutputsConnected(channels, OutputCount() - channels, false);
  }
}
