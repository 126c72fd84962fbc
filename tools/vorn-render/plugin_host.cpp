#include "tools/vorn-render/plugin_host.h"

#include <cstring>
#include <vector>

#include "vorn_version.h"

namespace render {

const char* const kHostProductString = "vorn-render";
const char* const kHostVendorString = "Paper Kite Sounds";

namespace {

constexpr vst2::IntPtr kHostVstVersion = 2400;
constexpr vst2::IntPtr kHostVendorVersion = kVornVersionNumber;
constexpr std::size_t kTextBufferSize = 1024;
// More channels than any instrument has; a larger count is a broken record.
constexpr std::int32_t kMaxChannels = 64;
constexpr const char* kHostCanDo[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo"};
constexpr std::int32_t kTimeFlags = vst2::kVstTransportPlaying | vst2::kVstPpqPosValid | vst2::kVstTempoValid |
                                    vst2::kVstBarsValid | vst2::kVstTimeSigValid;

// The instance the callback serves; set before the entry point runs, because
// plug-ins call back from inside it, before the host has their record.
PluginHost* g_host = nullptr;

void CopyText(void* destination, const char* text) {
  // Hosts' string buffers are conventionally 64 bytes for these answers.
  std::strncpy(static_cast<char*>(destination), text, vst2::kVstMaxProductStrLen - 1);
  static_cast<char*>(destination)[vst2::kVstMaxProductStrLen - 1] = '\0';
}

}  // namespace

PluginHost::PluginHost(double sampleRate, std::int32_t blockSize) : sampleRate_(sampleRate), blockSize_(blockSize) {
  timeInfo_.sampleRate = sampleRate;
  SetTransport(0, MusicalPosition{});
  timeInfo_.flags &= ~vst2::kVstTransportPlaying;
}

std::unique_ptr<PluginHost> PluginHost::Create(vst2::EntryPoint entry, double sampleRate, std::int32_t blockSize,
                                               std::string& error) {
  std::unique_ptr<PluginHost> host(new PluginHost(sampleRate, blockSize));
  g_host = host.get();
  vst2::AEffect* effect = entry(&PluginHost::Callback);
  if (!effect) {
    error = "the plug-in's entry point returned no effect";
  } else if (effect->magic != vst2::kEffectMagic) {
    error = "the plug-in's entry point returned a record without the 'VstP' mark";
  } else if (!effect->dispatcher) {
    error = "the plug-in's effect record has no dispatcher";
  } else if (!effect->processReplacing && !effect->process) {
    error = "the plug-in's effect record has no audio callback";
  } else if (effect->numOutputs < 1 || effect->numOutputs > kMaxChannels) {
    error = "the plug-in declares " + std::to_string(effect->numOutputs) + " outputs; 1 to " +
            std::to_string(kMaxChannels) + " can be rendered";
  } else if (effect->numInputs < 0 || effect->numInputs > kMaxChannels) {
    error = "the plug-in declares " + std::to_string(effect->numInputs) + " inputs";
  } else {
    host->effect_ = effect;
    return host;
  }
  g_host = nullptr;
  if (effect && effect->magic == vst2::kEffectMagic && effect->dispatcher)
    effect->dispatcher(effect, vst2::effClose, 0, 0, nullptr, 0.0f);
  return nullptr;
}

PluginHost::~PluginHost() {
  SetProcessing(false);
  Dispatch(vst2::effClose);
  g_host = nullptr;
}

vst2::IntPtr PluginHost::Dispatch(std::int32_t opcode, std::int32_t index, vst2::IntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginHost::Open() {
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate_));
  Dispatch(vst2::effSetBlockSize, 0, blockSize_);
}

void PluginHost::SetProcessing(bool on) {
  if (on == processing_) return;
  Dispatch(vst2::effMainsChanged, 0, on ? 1 : 0);
  processing_ = on;
}

std::string PluginHost::Text(std::int32_t opcode, std::int32_t index) {
  std::vector<char> buffer(kTextBufferSize, '\0');
  Dispatch(opcode, index, 0, buffer.data());
  buffer.back() = '\0';
  std::string text(buffer.data());
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return text;
}

void PluginHost::SetTransport(std::int64_t samplePosition, const MusicalPosition& position) {
  timeInfo_.samplePos = static_cast<double>(samplePosition);
  timeInfo_.ppqPos = position.quarters;
  timeInfo_.tempo = position.tempo;
  timeInfo_.barStartPos = position.barStart;
  timeInfo_.timeSigNumerator = position.numerator;
  timeInfo_.timeSigDenominator = position.denominator;
  timeInfo_.flags = kTimeFlags;
}

bool PluginHost::CanReplace() const {
  return effect_->processReplacing && ((effect_->flags & vst2::effFlagsCanReplacing) || !effect_->process);
}

void PluginHost::Process(float** inputs, float** outputs, std::int32_t frames) {
  if (CanReplace()) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
    return;
  }
  for (std::int32_t c = 0; c < effect_->numOutputs; ++c) std::memset(outputs[c], 0, sizeof(float) * frames);
  effect_->process(effect_, inputs, outputs, frames);
}

vst2::IntPtr VST_CALL PluginHost::Callback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                           vst2::IntPtr value, void* ptr, float opt) {
  if (opcode == vst2::audioMasterVersion) return kHostVstVersion;  // asked before anything else exists
  return g_host ? g_host->Answer(opcode, index, value, ptr, opt) : 0;
}

vst2::IntPtr PluginHost::Answer(std::int32_t opcode, std::int32_t index, vst2::IntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case vst2::audioMasterGetTime: return reinterpret_cast<vst2::IntPtr>(&timeInfo_);
    case vst2::audioMasterGetSampleRate: return static_cast<vst2::IntPtr>(sampleRate_);
    case vst2::audioMasterGetBlockSize: return blockSize_;
    case vst2::audioMasterWantMidi: return 1;
    case vst2::audioMasterGetProductString:
    case vst2::audioMasterGetVendorString:
      if (!ptr) return 0;
      CopyText(ptr, opcode == vst2::audioMasterGetProductString ? kHostProductString : kHostVendorString);
      return 1;
    case vst2::audioMasterGetVendorVersion: return kHostVendorVersion;
    case vst2::audioMasterCanDo:
      if (!ptr) return 0;
      for (const char* text : kHostCanDo) {
        if (std::strcmp(static_cast<const char*>(ptr), text) == 0) return 1;
      }
      return 0;
    default: return 0;
  }
}

}  // namespace render
