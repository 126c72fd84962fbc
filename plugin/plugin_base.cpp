#include "plugin/plugin_base.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "plugin/editor_view.h"
#include "plugin/text_copy.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

std::vector<ChannelConfig> ParseChannelIoText(const char* text) {
  std::vector<ChannelConfig> configs;
  std::istringstream pieces(text ? text : "");
  std::string piece;
  while (pieces >> piece) {
    ChannelConfig config;
    if (std::sscanf(piece.c_str(), "%d-%d", &config.inputs, &config.outputs) != 2) config = ChannelConfig{};
    configs.push_back(config);
  }
  return configs;
}

void CopyName(char* field, const char* text) { CopyTruncated(field, text, PluginBase::kNameSize); }

}  // namespace

PluginBase::PluginBase(const char* effectName, const char* productName, const char* vendorName, int uniqueId,
                       int version, const char* channelIoText)
    : mChannelConfigs(ParseChannelIoText(channelIoText)), mUniqueId(uniqueId), mVersion(version) {
  CopyName(mEffectName, effectName);
  CopyName(mProductName, productName);
  CopyName(mVendorName, vendorName);

  int inputs = 0;
  int outputs = 0;
  for (const ChannelConfig& config : mChannelConfigs) {
    inputs = std::max(inputs, config.inputs);
    outputs = std::max(outputs, config.outputs);
  }
  mInputPointers.assign(static_cast<std::size_t>(inputs), nullptr);
  mOutputPointers.assign(static_cast<std::size_t>(outputs), nullptr);
  mInputs.resize(static_cast<std::size_t>(inputs));
  mOutputs.resize(static_cast<std::size_t>(outputs));
  for (int i = 0; i < inputs; ++i)
    mInputs[static_cast<std::size_t>(i)].slot = &mInputPointers[static_cast<std::size_t>(i)];
  for (int i = 0; i < outputs; ++i)
    mOutputs[static_cast<std::size_t>(i)].slot = &mOutputPointers[static_cast<std::size_t>(i)];
}

PluginBase::~PluginBase() { DeleteEditor(); }

void PluginBase::DeleteEditor() {
  delete mEditor;
  mEditor = nullptr;
}

void PluginBase::ResetEngine() { Lock lock(mMutex); }

void PluginBase::ApplyParameter(int) { Lock lock(mMutex); }

void PluginBase::RenderBlock(double** inputs, double** outputs, int frames) {
  const int copied = std::min(InputCount(), OutputCount());
  for (int i = 0; i < copied; ++i)
    std::memcpy(outputs[i], inputs[i], sizeof(double) * static_cast<std::size_t>(frames));
  for (int i = copied; i < OutputCount(); ++i) std::fill_n(outputs[i], frames, 0.0);
}

void PluginBase::OnActivate(bool) { Lock lock(mMutex); }

void PluginBase::HandleMidiMessage(const MidiMessage& message) { SendMidiMessage(message); }

bool PluginBase::GetMidiNoteName(int, char* text) {
  if (text) text[0] = '\0';
  return false;
}

bool PluginBase::SerializeState(ByteChunk& chunk) { return SerializeParams(chunk); }

int PluginBase::UnserializeState(const ByteChunk& chunk, int pos) { return UnserializeParams(chunk, pos); }

bool PluginBase::CompareState(const double* values, int start) {
  for (int i = 0; i < kParameterCount; ++i) {
    const float current = static_cast<float>(mParams[static_cast<std::size_t>(i)].Value());
    const float stored = static_cast<float>(values[start + i]);
    if (!(std::fabs(current - stored) < 0.00001f)) return false;
  }
  return true;
}

void PluginBase::SetParameterFromEditor(int index, double normalized) {
  Lock lock(mMutex);
  IParam* param = GetParam(index);
  if (!param) return;
  param->SetNormalized(normalized);
  NotifyHostParamChange(index, normalized);
  ApplyParameter(index);
}

void PluginBase::AttachGraphics(IEditorView* editor) {
  Lock lock(mMutex);
  if (editor) {
    for (int i = 0; i < kParameterCount; ++i) editor->ApplyPluginValueToControls(i, GetParam(i)->GetNormalized());
    editor->CreateDrawingSurface();
  }
  if (mEditor != editor) DeleteEditor();
  mEditor = editor;
}

void PluginBase::RefreshEditorControls() {
  if (!mEditor) return;
  for (int i = 0; i < kParameterCount; ++i) mEditor->ApplyParameterToControls(i, GetParam(i)->Value(), false);
}

void PluginBase::SetBlockSize(int frames) {
  if (frames == mBlockSize) return;
  const std::size_t size = frames > 0 ? static_cast<std::size_t>(frames) : 0u;
  for (InputChannel& channel : mInputs) channel.scratch.assign(size, 0.0);
  for (OutputChannel& channel : mOutputs) channel.scratch.assign(size, 0.0);
  mBlockSize = frames;
}

IParam* PluginBase::GetParam(int index) {
  if (index < 0 || index >= kParameterCount) return nullptr;
  return &mParams[static_cast<std::size_t>(index)];
}

const IParam* PluginBase::GetParam(int index) const {
  if (index < 0 || index >= kParameterCount) return nullptr;
  return &mParams[static_cast<std::size_t>(index)];
}

void PluginBase::ApplyAllParameters() {
  for (int i = 0; i < kParameterCount; ++i) ApplyParameter(i);
}

void PluginBase::NotifyHostAllParams() {
  Lock lock(mMutex);
  for (int i = 0; i < kParameterCount; ++i) NotifyHostParamChange(i, GetParam(i)->GetNormalized());
}

bool PluginBase::LegalIO(int inputs, int outputs) const {
  for (const ChannelConfig& config : mChannelConfigs) {
    if (config.inputs == inputs && (outputs < 0 || config.outputs == outputs)) return true;
  }
  return false;
}

void PluginBase::SetInputsConnected(int first, int count, bool connected) {
  for (int i = std::max(first, 0); i < first + count && i < InputCount(); ++i) {
    InputChannel& channel = mInputs[static_cast<std::size_t>(i)];
    channel.connected = connected;
    if (!connected) *channel.slot = channel.scratch.data();
  }
}

void PluginBase::SetOutputsConnected(int first, int count, bool connected) {
  for (int i = std::max(first, 0); i < first + count && i < OutputCount(); ++i) {
    OutputChannel& channel = mOutputs[static_cast<std::size_t>(i)];
    channel.connected = connected;
    if (!connected) *channel.slot = channel.scratch.data();
  }
}

int PluginBase::DecimalVersion() const {
  const int major = (mVersion >> 16) & 0xFFFF;
  const int minor = (mVersion >> 8) & 0xFF;
  const int patch = mVersion & 0xFF;
  return major * 10000 + minor * 100 + patch;
}
