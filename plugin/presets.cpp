// The program slots and the parameter and preset-list records.
#include <cstdio>
#include <cstring>
#include <string>

#include "plugin/plugin_base.h"
#include "plugin/text_copy.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr const char* kUserPresetName = "user preset";
constexpr const char* kEmptyPresetName = "Empty";

void SetPresetName(IPreset& preset, const char* name) { CopyTruncated(preset.name, name, IPreset::kNameSize); }

}  // namespace

bool PluginBase::SerializeParams(ByteChunk& chunk) {
  Lock lock(mMutex);
  bool ok = true;
  for (const IParam& param : mParams) {
    chunk.PutDouble(param.Value());
    ok = ok && chunk.Size() > 0;
  }
  return ok;
}

int PluginBase::UnserializeParams(const ByteChunk& chunk, int pos) {
  Lock lock(mMutex);
  for (int i = 0; i < kParameterCount && pos >= 0; ++i) {
    double value = 0.0;
    pos = chunk.GetDouble(value, pos);
    if (pos < 0) value = 0.0;
    GetParam(i)->SetValue(value);
  }
  ApplyAllParameters();
  return pos;
}

bool PluginBase::SerializePresets(ByteChunk& chunk) {
  for (const IPreset& preset : mPresets) {
    chunk.PutString(preset.name);
    chunk.PutBool(preset.initialized);
    if (preset.initialized) {
      chunk.PutChunk(preset.state);
      if (chunk.Size() == 0) return false;
    }
  }
  return true;
}

int PluginBase::UnserializePresets(const ByteChunk& chunk, int pos) {
  std::string lastName;
  for (int i = 0; i < kPresetCount && pos >= 0; ++i) {
    IPreset& preset = mPresets[static_cast<std::size_t>(i)];
    std::string name;
    pos = chunk.GetString(name, pos);
    if (pos >= 0) lastName = name;
    SetPresetName(preset, lastName.c_str());

    bool initialized = preset.initialized;
    pos = chunk.GetBool(initialized, pos);
    if (pos < 0) break;
    preset.initialized = initialized;

    if (preset.initialized) {
      pos = UnserializeState(chunk, pos);
      if (pos > 0) {
        preset.state.Clear();
        SerializeState(preset.state);
      }
    }
  }
  SelectPreset(CurrentPresetIndex());
  return pos;
}

void PluginBase::ModifyCurrentPreset(const char* name) {
  const int current = CurrentPresetIndex();
  if (current < 0 || current >= kPresetCount) return;
  IPreset& preset = mPresets[static_cast<std::size_t>(current)];
  preset.state.Clear();
  SerializeState(preset.state);
  if (name && name[0]) SetPresetName(preset, name);
}

bool PluginBase::SelectPreset(int index) {
  if (index < 0 || index >= kPresetCount) return false;
  IPreset& preset = mPresets[static_cast<std::size_t>(index)];
  bool ok = false;
  if (preset.initialized) {
    ok = UnserializeState(preset.state, 0) > 0;
  } else {
    preset.initialized = true;
    int userPresets = 0;
    for (const IPreset& other : mPresets) {
      if (std::strstr(other.name, kUserPresetName)) ++userPresets;
    }
    std::snprintf(preset.name, IPreset::kNameSize, "%s %d", kUserPresetName, userPresets + 1);
    // A slot marked uninitialised by a bank may still hold its old state.
    preset.state.Clear();
    ok = SerializeState(preset.state);
  }
  if (ok) {
    mCurrentPreset.store(index, std::memory_order_relaxed);
    OnPresetChange();
    RefreshEditorControls();
  }
  return ok;
}

const char* PluginBase::GetPresetName(int index) const {
  if (index < 0 || index >= kPresetCount) return "";
  return mPresets[static_cast<std::size_t>(index)].name;
}

void PluginBase::FillEmptyPresets(int count) {
  for (int filled = 0; filled < count; ++filled) {
    IPreset* empty = nullptr;
    for (IPreset& preset : mPresets) {
      if (!preset.initialized) {
        empty = &preset;
        break;
      }
    }
    if (!empty) return;
    empty->initialized = true;
    SetPresetName(*empty, kEmptyPresetName);
    empty->state.Clear();
    SerializeState(empty->state);
  }
}
