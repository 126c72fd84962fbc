#include "plugin/vst2/vst_plugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/editor_view.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;
using vst2::IntPtr;

constexpr std::int32_t kOfflineProcessLevel = 4;
constexpr std::int32_t kTimeInfoFlagsForGetTimeInfo = vst2::kVstPpqPosValid | vst2::kVstTempoValid |
                                                      vst2::kVstBarsValid | vst2::kVstCyclePosValid |
                                                      vst2::kVstTimeSigValid;

VstPlugin* FromEffect(vst2::AEffect* effect) { return effect ? static_cast<VstPlugin*>(effect->object) : nullptr; }

std::int32_t ArrangementType(int channels) {
  if (channels == 0) return vst2::kSpeakerArrEmpty;
  if (channels == 1) return vst2::kSpeakerArrMono;
  if (channels == 2) return vst2::kSpeakerArrStereo;
  return vst2::kSpeakerArrUserDefined;
}

}  // namespace

VstPlugin::VstPlugin(vst2::HostCallback host, const char* effectName, const char* productName, const char* vendorName,
                     int uniqueId, int version, const char* channelIoText, int programCount)
    : PluginBase(effectName, productName, vendorName, uniqueId, version, channelIoText), mHostCallback(host) {
  mEffect.magic = vst2::kEffectMagic;
  mEffect.dispatcher = VSTDispatcher;
  mEffect.process = VSTProcess;
  mEffect.setParameter = VSTSetParameter;
  mEffect.getParameter = VSTGetParameter;
  mEffect.numPrograms = std::max(programCount, 1);
  mEffect.numParams = kParameterCount;
  mEffect.flags = vst2::effFlagsCanReplacing | vst2::effFlagsCanDoubleReplacing;
  if (HasStateChunks()) mEffect.flags |= vst2::effFlagsProgramChunks;
  if (IsInstrument()) mEffect.flags |= vst2::effFlagsIsSynth;
  if (LegalIO(1, -1)) mEffect.flags |= vst2::effFlagsCanMono;
  mEffect.initialDelay = Latency();
  mEffect.ioRatio = 1.0f;
  mEffect.object = this;
  mEffect.uniqueID = uniqueId;
  mEffect.version = DecimalVersion();
  mEffect.processReplacing = VSTProcessReplacing;
  mEffect.processDoubleReplacing = VSTProcessDoubleReplacing;
  RefreshChannelCounts();

  SetInputsConnected(0, InputCount(), true);
  SetOutputsConnected(0, OutputCount(), true);
  SetBlockSize(kStartBlockSize);
}

void VstPlugin::RefreshChannelCounts() {
  mEffect.numInputs = InputCount();
  mEffect.numOutputs = OutputCount();
  mInputArrangement.numChannels = InputCount();
  mInputArrangement.type = ArrangementType(InputCount());
  mOutputArrangement.numChannels = OutputCount();
  mOutputArrangement.type = ArrangementType(OutputCount());
}

IntPtr VstPlugin::CallHost(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr, float opt) {
  return mHostCallback ? mHostCallback(&mEffect, opcode, index, value, ptr, opt) : 0;
}

// --- Host-facing operations -------------------------------------------------

void VstPlugin::BeginHostParamEdit(int index) { CallHost(vst2::audioMasterBeginEdit, index); }

void VstPlugin::NotifyHostParamChange(int index, double normalized) {
  CallHost(vst2::audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void VstPlugin::EndHostParamEdit(int index) { CallHost(vst2::audioMasterEndEdit, index); }

void VstPlugin::NotifyHostProgramChange() { CallHost(vst2::audioMasterUpdateDisplay); }

bool VstPlugin::IsOfflineRender() { return CallHost(vst2::audioMasterGetCurrentProcessLevel) == kOfflineProcessLevel; }

const vst2::VstTimeInfo* VstPlugin::QueryTime(std::int32_t flags) {
  return reinterpret_cast<const vst2::VstTimeInfo*>(CallHost(vst2::audioMasterGetTime, 0, flags));
}

int VstPlugin::GetSamplePosition() {
  const vst2::VstTimeInfo* time = QueryTime(0);
  if (!time || !(time->samplePos >= 0.0) || time->samplePos >= 2147483647.0) return 0;
  return static_cast<int>(std::floor(time->samplePos + 0.5));
}

double VstPlugin::GetTempo() {
  const vst2::VstTimeInfo* time = QueryTime(vst2::kVstTempoValid);
  if (time && (time->flags & vst2::kVstTempoValid) && time->tempo >= 0.0) return time->tempo;
  return 0.0;
}

void VstPlugin::GetTimeSignature(int& numerator, int& denominator) {
  const vst2::VstTimeInfo* time = QueryTime(vst2::kVstTimeSigValid);
  if (time && (time->flags & vst2::kVstTimeSigValid) && time->timeSigNumerator >= 0 && time->timeSigDenominator >= 0) {
    numerator = time->timeSigNumerator;
    denominator = time->timeSigDenominator;
  } else {
    numerator = 0;
    denominator = 0;
  }
}

void VstPlugin::GetTimeInfo(TimeInfo& info) {
  const vst2::VstTimeInfo* time = QueryTime(kTimeInfoFlagsForGetTimeInfo);
  if (!time || !(time->flags & kTimeInfoFlagsForGetTimeInfo)) return;
  info.samplePosition = time->samplePos;
  if ((time->flags & vst2::kVstPpqPosValid) && time->ppqPos >= 0.0) info.ppqPosition = time->ppqPos;
  if ((time->flags & vst2::kVstTempoValid) && time->tempo > 0.0) info.tempo = time->tempo;
  if ((time->flags & vst2::kVstBarsValid) && time->barStartPos >= 0.0) info.lastBarStart = time->barStartPos;
  if ((time->flags & vst2::kVstCyclePosValid) && time->cycleStartPos >= 0.0 && time->cycleEndPos >= 0.0) {
    info.cycleStart = time->cycleStartPos;
    info.cycleEnd = time->cycleEndPos;
  }
  if ((time->flags & vst2::kVstTimeSigValid) && time->timeSigNumerator > 0 && time->timeSigDenominator > 0) {
    info.numerator = time->timeSigNumerator;
    info.denominator = time->timeSigDenominator;
  }
  info.transportRunning = (time->flags & vst2::kVstTransportPlaying) != 0;
  info.loopEnabled = (time->flags & vst2::kVstTransportCycleActive) != 0;
}

HostKind VstPlugin::GetHost() {
  const HostKind known = PluginBase::GetHost();
  if (known != kHostUnidentified) return known;
  char product[kHostStringSize] = {};
  CallHost(vst2::audioMasterGetProductString, 0, 0, product);
  product[kHostStringSize - 1] = '\0';
  int version = 0;
  if (product[0]) {
    const auto decimal = static_cast<long long>(CallHost(vst2::audioMasterGetVendorVersion));
    const auto major = static_cast<int>(decimal / 10000);
    const auto minor = static_cast<int>((decimal % 10000) / 100);
    const auto patch = static_cast<int>(decimal % 100);
    version = static_cast<int>((static_cast<unsigned>(major) << 16) + (static_cast<unsigned>(minor) << 8) +
                               static_cast<unsigned>(patch));
  }
  const HostKind kind = LookUpHost(product);
  SetHostIdentity(kind, version);
  return kind;
}

void VstPlugin::SetRenderableSampleRates(double lowest, double highest) {
  mLowestSampleRate = lowest;
  mHighestSampleRate = highest;
}

void VstPlugin::LimitToStereo() {
  if (InputCount() > 2) SetInputsConnected(2, InputCount() - 2, false);
}

void VstPlugin::InitForHost() {
  if (mHostSetUpDone) return;
  mHostSetUpDone = true;
  const HostKind host = GetHost();
  if (host == kHostForte || host == kHostAudition || host == kHostOrion || host == kHostSAWStudio) LimitToStereo();
  RefreshChannelCounts();
  OnHostKnown();
}

void VstPlugin::AttachGraphics(IEditorView* editor) {
  PluginBase::AttachGraphics(editor);
  // A host is offered only an editor that can open a window in it.
  mEffect.flags &= ~vst2::effFlagsHasEditor;
  if (!editor) return;
  if (editor->CanOpenWindow()) mEffect.flags |= vst2::effFlagsHasEditor;
  mEditorRect = {0, 0, static_cast<std::int16_t>(editor->Height()), static_cast<std::int16_t>(editor->Width())};
}

void VstPlugin::ResizeEditor(int, int) {
  IEditorView* editor = Editor();
  if (!editor) return;
  mEditorRect = {0, 0, static_cast<std::int16_t>(editor->Height()), static_cast<std::int16_t>(editor->Width())};
  OnEditorResized();
}

void VstPlugin::SetLatency(int samples) {
  mEffect.initialDelay = samples;
  PluginBase::SetLatency(samples);
}

bool VstPlugin::SendMidiMessage(const MidiMessage& message) {
  vst2::VstMidiEvent event{};
  event.type = vst2::kVstMidiType;
  event.byteSize = sizeof(vst2::VstMidiEvent);
  event.deltaFrames = message.frameOffset;
  event.midiData[0] = static_cast<char>(message.status);
  event.midiData[1] = static_cast<char>(message.data1);
  event.midiData[2] = static_cast<char>(message.data2);
  vst2::VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<vst2::VstEvent*>(&event);
  return CallHost(vst2::audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool VstPlugin::SendSysEx(const SysExMessage& message) {
  vst2::VstMidiSysexEvent event{};
  event.type = vst2::kVstSysExType;
  event.byteSize = sizeof(vst2::VstMidiSysexEvent);
  event.deltaFrames = message.frameOffset;
  event.dumpBytes = message.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(message.data));
  vst2::VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<vst2::VstEvent*>(&event);
  return CallHost(vst2::audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool VstPlugin::HostWantsProgramChunks() {
  if (!mWantsProgramChunksKnown) {
    char vendor[kHostStringSize] = {};
    CallHost(vst2::audioMasterGetVendorString, 0, 0, vendor);
    vendor[kHostStringSize - 1] = '\0';
    std::string lower(vendor);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    mWantsProgramChunks = lower == "native instruments" || lower == "juce vst host";
    mWantsProgramChunksKnown = true;
  }
  return mWantsProgramChunks;
}

// --- Callbacks ----------------------------------------------------------------

IntPtr VST_CALL VstPlugin::VSTDispatcher(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index, IntPtr value,
                                         void* ptr, float opt) {
  VstPlugin* plugin = FromEffect(effect);
  if (!plugin) return 0;
  if (opcode == vst2::effClose) {
    // Waits for a block in progress, then destroys the instance unlocked.
    plugin->Mutex().lock();
    plugin->Mutex().unlock();
    // The editor's own thread must be out of the plug-in before it goes.
    if (IEditorView* editor = plugin->Editor()) editor->StopEvents();
    effect->object = nullptr;
    delete plugin;
    return 0;
  }
  Lock lock(plugin->Mutex());
  return plugin->Dispatch(opcode, index, value, ptr, opt);
}

void VST_CALL VstPlugin::VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
  if (VstPlugin* plugin = FromEffect(effect)) plugin->ProcessFloat(inputs, outputs, frames, true);
}

void VST_CALL VstPlugin::VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                             std::int32_t frames) {
  if (VstPlugin* plugin = FromEffect(effect)) plugin->ProcessFloat(inputs, outputs, frames, false);
}

void VST_CALL VstPlugin::VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs, double** outputs,
                                                   std::int32_t frames) {
  if (VstPlugin* plugin = FromEffect(effect)) plugin->ProcessDouble(inputs, outputs, frames);
}

float VST_CALL VstPlugin::VSTGetParameter(vst2::AEffect* effect, std::int32_t index) {
  VstPlugin* plugin = FromEffect(effect);
  if (!plugin) return 0.0f;
  Lock lock(plugin->Mutex());
  const IParam* param = plugin->GetParam(index);
  return param ? static_cast<float>(param->GetNormalized()) : 0.0f;
}

void VST_CALL VstPlugin::VSTSetParameter(vst2::AEffect* effect, std::int32_t index, float value) {
  VstPlugin* plugin = FromEffect(effect);
  if (!plugin) return;
  Lock lock(plugin->Mutex());
  IParam* param = plugin->GetParam(index);
  if (!param) return;
  // Hosts are trusted to send [0, 1]; anything else is brought into it.
  const double normalized = std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), 0.0, 1.0);
  if (IEditorView* editor = plugin->Editor()) editor->ApplyParameterToControls(index, normalized, true);
  param->SetNormalized(normalized);
  plugin->ApplyParameter(index);
}

// --- Audio ---------------------------------------------------------------------

// Blocks larger than the announced size are rendered in slices, since the
// scratch buffers hold exactly the announced size.
void VstPlugin::ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate) {
  Lock lock(Mutex());
  if (DoesMidi()) CallHost(vst2::audioMasterWantMidi);
  const int sliceSize = std::max(BlockSize(), 1);
  for (int done = 0; done < frames; done += sliceSize) {
    const int n = std::min(sliceSize, frames - done);
    int hostInput = 0;
    for (InputChannel& channel : Inputs()) {
      *channel.slot = channel.scratch.data();
      if (!channel.connected) continue;
      const float* source = inputs[hostInput++] + done;
      std::copy(source, source + n, channel.scratch.begin());
    }
    int hostOutput = 0;
    for (OutputChannel& channel : Outputs()) {
      *channel.slot = channel.scratch.data();
      channel.floatDestination = channel.connected ? outputs[hostOutput++] + done : nullptr;
    }
    RenderBlock(InputPointers(), OutputPointers(), n);
    for (OutputChannel& channel : Outputs()) {
      if (!channel.connected) continue;
      float* destination = channel.floatDestination;
      if (accumulate) {
        for (int i = 0; i < n; ++i) destination[i] += static_cast<float>(channel.scratch[static_cast<std::size_t>(i)]);
      } else {
        for (int i = 0; i < n; ++i) destination[i] = static_cast<float>(channel.scratch[static_cast<std::size_t>(i)]);
      }
    }
  }
}

void VstPlugin::ProcessDouble(double** inputs, double** outputs, int frames) {
  Lock lock(Mutex());
  if (DoesMidi()) CallHost(vst2::audioMasterWantMidi);
  const int sliceSize = std::max(BlockSize(), 1);
  for (int done = 0; done < frames; done += sliceSize) {
    const int n = std::min(sliceSize, frames - done);
    int hostInput = 0;
    for (InputChannel& channel : Inputs()) {
      *channel.slot = channel.connected ? inputs[hostInput++] + done : channel.scratch.data();
    }
    int hostOutput = 0;
    for (OutputChannel& channel : Outputs()) {
      *channel.slot = channel.connected ? outputs[hostOutput++] + done : channel.scratch.data();
    }
    RenderBlock(InputPointers(), OutputPointers(), n);
  }
}
