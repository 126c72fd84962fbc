#include "tests/host/plugin_instance.h"

#include <cstring>
#include <mutex>

namespace {

constexpr vst2::IntPtr kHostVstVersion = 2400;
// Hosts hand the plug-in 256-byte buffers for their vendor and product strings.
constexpr std::size_t kHostStringCapacity = 256;

// Requests made while the entry point runs come before the host could
// attach itself to the effect record (its `user` field); they go to the
// instance under construction. Instances are created one at a time.
std::mutex g_creationLock;
PluginInstance* g_underConstruction = nullptr;

// The text the plug-in wrote into a buffer, up to its terminator.
std::string TextIn(const char* text, std::size_t capacity) {
  const void* end = std::memchr(text, '\0', capacity);
  return std::string(text, end != nullptr ? static_cast<const char*>(end) - text : capacity);
}

void CopyHostString(const std::string& text, void* ptr) {
  if (ptr == nullptr) return;
  std::size_t length = text.size() < kHostStringCapacity - 1 ? text.size() : kHostStringCapacity - 1;
  std::memcpy(ptr, text.data(), length);
  static_cast<char*>(ptr)[length] = '\0';
}

}  // namespace

int HostRequestCounts::Of(std::int32_t opcode) const {
  return opcode >= 0 && opcode < kOpcodeCount ? byOpcode[opcode].load() : unknown.load();
}

PluginInstance::PluginInstance(vst2::EntryPoint entry, HostIdentity identity) : identity_(std::move(identity)) {
  if (entry == nullptr) return;
  std::lock_guard<std::mutex> lock(g_creationLock);
  g_underConstruction = this;
  vst2::AEffect* effect = entry(&PluginInstance::HostCallback);
  g_underConstruction = nullptr;
  if (effect == nullptr || effect->magic != vst2::kEffectMagic) return;
  effect->user = this;
  effect_ = effect;
}

PluginInstance::~PluginInstance() {
  if (effect_ == nullptr) return;
  if (processing_) Dispatch(vst2::effMainsChanged, 0, 0);
  Dispatch(vst2::effClose);
}

vst2::IntPtr PluginInstance::Dispatch(std::int32_t opcode, std::int32_t index, vst2::IntPtr value, void* ptr,
                                      float opt) const {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginInstance::Start(float sampleRate, std::int32_t blockSize) {
  sampleRate_ = sampleRate;
  blockSize_ = blockSize;
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, sampleRate);
  Dispatch(vst2::effSetBlockSize, 0, blockSize);
  Dispatch(vst2::effMainsChanged, 0, 1);
  processing_ = true;
}

void PluginInstance::CloseAbruptly() {
  if (effect_ == nullptr) return;
  Dispatch(vst2::effClose);
  effect_ = nullptr;
}

void PluginInstance::SelectProgram(std::int32_t index) const { Dispatch(vst2::effSetProgram, 0, index); }

float PluginInstance::GetParameter(std::int32_t index) const { return effect_->getParameter(effect_, index); }

void PluginInstance::SetParameter(std::int32_t index, float value) const {
  effect_->setParameter(effect_, index, value);
}

std::string PluginInstance::ProgramName() const {
  char text[kTextBufferSize] = {};
  Dispatch(vst2::effGetProgramName, 0, 0, text);
  return TextIn(text, sizeof(text));
}

std::string PluginInstance::ProgramNameIndexed(std::int32_t index) const {
  char text[kTextBufferSize] = {};
  Dispatch(vst2::effGetProgramNameIndexed, index, 0, text);
  return TextIn(text, sizeof(text));
}

std::string PluginInstance::ParameterText(std::int32_t opcode, std::int32_t index) const {
  char text[kTextBufferSize] = {};
  Dispatch(opcode, index, 0, text);
  return TextIn(text, sizeof(text));
}

vst2::IntPtr VST_CALL PluginInstance::HostCallback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t,
                                                   vst2::IntPtr, void* ptr, float) {
  PluginInstance* host = effect != nullptr ? static_cast<PluginInstance*>(effect->user) : nullptr;
  if (host == nullptr) host = g_underConstruction;
  if (host == nullptr) return 0;
  if (opcode >= 0 && opcode < HostRequestCounts::kOpcodeCount) {
    ++host->requests_.byOpcode[opcode];
  } else {
    ++host->requests_.unknown;
  }
  return host->Answer(opcode, ptr);
}

vst2::IntPtr PluginInstance::Answer(std::int32_t opcode, void* ptr) {
  switch (opcode) {
    case vst2::audioMasterVersion: return kHostVstVersion;
    case vst2::audioMasterGetSampleRate: return static_cast<vst2::IntPtr>(sampleRate_);
    case vst2::audioMasterGetBlockSize: return blockSize_;
    case vst2::audioMasterGetVendorString: CopyHostString(identity_.vendor, ptr); return 1;
    case vst2::audioMasterGetProductString: CopyHostString(identity_.product, ptr); return 1;
    case vst2::audioMasterGetVendorVersion: return identity_.vendorVersion;
    default: return 0;
  }
}
