// Parameters, programs, texts and the remaining opcodes, with the argument
// values hosts get wrong: indices out of range, values that are no number,
// names too long, pointers to whatever the host had at hand.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/chaos/chaos_host.h"
#include "tests/chaos/odd_arguments.h"
#include "tests/host/plugin_instance.h"

namespace {

constexpr const char* kCanDos[] = {"receiveVstEvents",
                                   "receiveVstMidiEvent",
                                   "sendVstEvents",
                                   "midiProgramNames",
                                   "bypass",
                                   "",
                                   "offline",
                                   "plugAsChannelInsert",
                                   "x"};

}  // namespace

void ChaosHost::CheckText(const char* text, std::size_t limit, const char* what) {
  const std::string fault = TextFault(text, limit);
  if (!fault.empty()) Fail(std::string(what) + fault);
}

void ChaosHost::SetParameter(Slot& slot) {
  vst2::AEffect* effect = slot.plugin->effect();
  int count = effect->numParams;
  int index = OddIndex(random_, count);
  float value = random_.Chance(400) ? random_.Pick(kOddValues) : random_.Unit();
  Note("setParameter");
  effect->setParameter(effect, index, value);
  Note("getParameter");
  float read = effect->getParameter(effect, index);
  if (!std::isfinite(read) || ((index >= 0 && index < count) && (read < 0.0f || read > 1.0f))) {
    Fail("parameter " + std::to_string(index) + " set to " + std::to_string(value) + " reads back " +
         std::to_string(read));
  }
}

void ChaosHost::ChangeProgram(Slot& slot) {
  vst2::AEffect* effect = slot.plugin->effect();
  if (random_.Chance(700)) {
    Note("effSetProgram");
    slot.plugin->Dispatch(vst2::effSetProgram, 0, OddIndex(random_, effect->numPrograms));
  } else {
    char name[kTextBuffer];
    std::size_t length = random_.Chance(300) ? static_cast<std::size_t>(random_.Between(24, 200))
                                             : static_cast<std::size_t>(random_.Below(24));
    for (std::size_t i = 0; i < length; ++i) name[i] = static_cast<char>(random_.Between(1, 255));
    name[length] = '\0';
    Note("effSetProgramName");
    slot.plugin->Dispatch(vst2::effSetProgramName, 0, 0, name);
  }
  Note("effGetProgram");
  vst2::IntPtr program = slot.plugin->Dispatch(vst2::effGetProgram);
  if (program < 0 || program >= effect->numPrograms) Fail("the current program is " + std::to_string(program));
}

void ChaosHost::AskTexts(Slot& slot) {
  vst2::AEffect* effect = slot.plugin->effect();
  char text[kTextBuffer];
  std::memset(text, kTextFill, sizeof(text));
  text[0] = '\0';
  int kind = random_.Below(6);
  if (kind < 3) {
    constexpr std::int32_t kOpcodes[] = {vst2::effGetParamLabel, vst2::effGetParamDisplay, vst2::effGetParamName};
    Note("effGetParamLabel/Display/Name");
    slot.plugin->Dispatch(kOpcodes[kind], OddIndex(random_, effect->numParams), 0, text);
    // Hosts pass 8 bytes by convention; the plug-in may use up to 64 for names.
    CheckText(text, 64, "a parameter text");
  } else if (kind == 3) {
    Note("effGetProgramNameIndexed");
    slot.plugin->Dispatch(vst2::effGetProgramNameIndexed, OddIndex(random_, effect->numPrograms), -1, text);
    CheckText(text, vst2::kVstMaxProgNameLen + 1, "a program name");
  } else if (kind == 4) {
    Note("effGetProgramName");
    slot.plugin->Dispatch(vst2::effGetProgramName, 0, 0, text);
    CheckText(text, vst2::kVstMaxProgNameLen + 1, "the program name");
  } else {
    const char* given = random_.Pick(kValueTexts);
    std::strcpy(text, given);
    Note("effString2Parameter");
    int index = OddIndex(random_, effect->numParams);
    slot.plugin->Dispatch(vst2::effString2Parameter, index, 0, text);
    if (index >= 0 && index < effect->numParams) {
      Note("getParameter");
      float read = effect->getParameter(effect, index);
      if (!std::isfinite(read) || read < 0.0f || read > 1.0f) {
        Fail("parameter " + std::to_string(index) + " reads " + std::to_string(read) + " after the text \"" + given +
             "\"");
      }
    }
  }
}

void ChaosHost::AskOther(Slot& slot) {
  std::memset(scratch_.data(), 0, 4096);
  void* ptr = scratch_.data();
  switch (random_.Below(9)) {
    case 0: {
      vst2::MidiKeyName key{};
      key.thisProgramIndex = OddIndex(random_, 128);
      key.thisKeyNumber = OddIndex(random_, 128);
      Note("effGetMidiKeyName");
      slot.plugin->Dispatch(vst2::effGetMidiKeyName, 0, 0, &key);
      CheckText(key.keyName, sizeof(key.keyName), "a key name");
      break;
    }
    case 1: {
      vst2::VstPinProperties pin{};
      bool input = random_.Chance(300);
      Note(input ? "effGetInputProperties" : "effGetOutputProperties");
      slot.plugin->Dispatch(input ? vst2::effGetInputProperties : vst2::effGetOutputProperties, OddIndex(random_, 2), 0,
                            &pin);
      break;
    }
    case 2: {
      vst2::VstSpeakerArrangement in{}, out{};
      in.type = random_.Between(-2, 3);
      in.numChannels = random_.Between(0, 8);
      out = in;
      Note("effSetSpeakerArrangement");
      bool accepted =
          slot.plugin->Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<vst2::IntPtr>(&in), &out) != 0;
      if (accepted) slot.connectedOutputs = std::min(std::max(out.numChannels, 0), slot.plugin->effect()->numOutputs);
      vst2::VstSpeakerArrangement* inAnswer = nullptr;
      vst2::VstSpeakerArrangement* outAnswer = nullptr;
      Note("effGetSpeakerArrangement");
      slot.plugin->Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<vst2::IntPtr>(&inAnswer), &outAnswer);
      break;
    }
    case 3: {
      std::strcpy(static_cast<char*>(ptr), random_.Pick(kCanDos));
      Note("effCanDo");
      slot.plugin->Dispatch(vst2::effCanDo, 0, 0, ptr);
      break;
    }
    case 4: {
      constexpr std::int32_t kTextOpcodes[] = {vst2::effGetEffectName, vst2::effGetVendorString,
                                               vst2::effGetProductString};
      Note("effGetEffectName/VendorString/ProductString");
      slot.plugin->Dispatch(random_.Pick(kTextOpcodes), 0, 0, ptr);
      CheckText(static_cast<const char*>(ptr), vst2::kVstMaxEffectNameLen * 2 + 1, "a name");
      break;
    }
    case 5: {
      constexpr std::int32_t kPlain[] = {vst2::effGetVendorVersion, vst2::effGetTailSize,     vst2::effIdle,
                                         vst2::effGetVstVersion,    vst2::effGetPlugCategory, vst2::effIdentify,
                                         vst2::effCanBeAutomated};
      Note("a plain query");
      slot.plugin->Dispatch(random_.Pick(kPlain), OddIndex(random_, 32), 0, ptr);
      break;
    }
    case 6: {
      Note("effVendorSpecific");
      slot.plugin->Dispatch(vst2::effVendorSpecific, static_cast<std::int32_t>(random_.Next()),
                            static_cast<vst2::IntPtr>(random_.Below(1000)), ptr, random_.Unit());
      break;
    }
    case 7: {
      // Opcodes this plug-in does not know, with a harmless pointer.
      Note("an unknown opcode");
      slot.plugin->Dispatch(random_.Chance(500) ? random_.Between(73, 200) : -random_.Between(1, 100),
                            random_.Between(-5, 5), random_.Between(-5, 5), ptr, random_.Unit());
      break;
    }
    default: {
      // effOpen again, as some hosts do after a while.
      Note("effOpen (again)");
      slot.plugin->Dispatch(vst2::effOpen);
      break;
    }
  }
}
