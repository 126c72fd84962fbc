#include "editor/icontrol.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>

#include "editor/igraphics.h"
#include "editor/itext_control.h"
#include "plugin/plugin_base.h"

namespace {

constexpr float kGrayedWeight = 0.25f;
constexpr int kDisplayTextBytes = 32;
// The value prompt's entry box for parameters without display texts.
constexpr int kPromptHalfWidth = 20;
constexpr int kPromptHalfHeight = 8;

}  // namespace

IControl::IControl(PluginBase* plugin, const IBox& box, int paramIndex, const IBlendMode& blend)
    : mPlugin(plugin), mBox(box), mTargetBox(box), mParamIndex(paramIndex), mBlend(blend) {}

IControl::~IControl() = default;

void IControl::OnMouseDown(int, int, const IMouseMods& mods) {
  if (mods.right) AskForValue();
}

void IControl::OnMouseUp(int, int, const IMouseMods&) {}

void IControl::OnMouseDrag(int, int, int, int, const IMouseMods&) {}

void IControl::OnMouseDblClick(int, int, const IMouseMods&) {
  const double defaultValue = DefaultValue();
  if (defaultValue < 0.0) return;
  SetValue(defaultValue);
  SetDirty(true);
}

void IControl::OnMouseWheel(int, int, const IMouseMods&, int) {}

bool IControl::OnKeyDown(int, int, int) { return false; }

void IControl::OnMouseOver(int, int, const IMouseMods&) {}

void IControl::OnMouseOut() {}

// NaN is dropped and anything else limited to the clamp range here, so no
// path leaves a control outside it, even before its first SetDirty.
void IControl::ApplyPluginValue(double value) {
  if (std::isnan(value)) return;
  value = Clamped(value);
  if (DefaultValue() < 0.0) {
    SetDefaultValue(value);
    SetValue(value);
    return;
  }
  if (value == Value()) return;
  SetValue(value);
  SetDirty(false);
  RequestRedraw();
}

void IControl::ApplyUserValue(double value) {
  if (std::isnan(value)) return;
  value = Clamped(value);
  if (value == Value()) return;
  SetValue(value);
  SetDirty(true);
  RequestRedraw();
}

void IControl::TakeEntryText(const char*) {}

void IControl::Hide(bool hidden) {
  mHidden = hidden;
  RequestRedraw();
  SetDirty(false);
}

void IControl::SetGrayed(bool grayed) {
  mGrayed = grayed;
  mBlend.weight = grayed ? kGrayedWeight : 1.0f;
  SetDirty(false);
}

bool IControl::IsHit(int x, int y) { return mTargetBox.Contains(x, y); }

void IControl::SetDirty(bool push) {
  SetValue(Clamped(Value()));
  mDirty.store(true, std::memory_order_release);
  if (!push || !mPlugin || mParamIndex < 0) return;
  mPlugin->SetParameterFromEditor(mParamIndex, Value());
  const IParam* param = Param();
  if (!param || (!mValueDisplay && !mNameDisplay)) return;
  // Host threads change the parameter under the plug-in mutex: read it there.
  std::string text;
  std::string name;
  {
    std::lock_guard<std::recursive_mutex> lock(mPlugin->Mutex());
    char display[IParam::kDisplaySize] = {};
    param->GetDisplay(param->Value(), false, display, true);
    text.assign(display, strnlen(display, kDisplayTextBytes));
    text += ' ';
    const char* label = param->GetLabel();
    text.append(label, strnlen(label, kDisplayTextBytes));
    name = param->Name();
  }
  if (mValueDisplay) mValueDisplay->ShowText(text.c_str());
  if (mNameDisplay) mNameDisplay->ShowText(name.c_str());
}

void IControl::SetClean() {
  mDirty.store(mRedraw.exchange(false, std::memory_order_acq_rel), std::memory_order_release);
}

bool IControl::IsDirty() { return mDirty.load(std::memory_order_acquire); }

void IControl::ApplyAuxValue(int position, double value) {
  if (position < 0 || position >= NAuxParams() || std::isnan(value)) return;
  value = Clamped(value);
  AuxParam& aux = mAuxParams[static_cast<size_t>(position)];
  if (value == aux.value.load(std::memory_order_relaxed)) return;
  aux.value.store(value, std::memory_order_relaxed);
  SetDirty(false);
  RequestRedraw();
}

void IControl::AskForValue() {
  if (mParamIndex < 0 || mPromptDisabled || !mGraphics) return;
  const IParam* param = Param();
  if (!param) return;
  IBox box = mBox;
  if (param->DisplayTexts().empty()) {
    const int cx = static_cast<int>(static_cast<float>(mBox.left + mBox.right) * 0.5f);
    const int cy = static_cast<int>(static_cast<float>(mBox.top + mBox.bottom) * 0.5f);
    box = {cx - kPromptHalfWidth, cy - kPromptHalfHeight, cx + kPromptHalfWidth, cy + kPromptHalfHeight};
  }
  mGraphics->AskForParameterValue(this, param, &box);
  RequestRedraw();
}

void IControl::SetClamp(double low, double high) {
  mClampLow = low;
  mClampHigh = high;
}

void IControl::AddAuxParam(int paramIndex) { mAuxParams.emplace_back(paramIndex); }

int IControl::AuxParamIndex(int position) const {
  if (position < 0 || position >= NAuxParams()) return -1;
  return mAuxParams[static_cast<size_t>(position)].paramIndex;
}

double IControl::AuxValue(int position) const {
  if (position < 0 || position >= NAuxParams()) return 0.0;
  return mAuxParams[static_cast<size_t>(position)].value.load(std::memory_order_relaxed);
}

IParam* IControl::Param() const { return mPlugin ? mPlugin->GetParam(mParamIndex) : nullptr; }

double IControl::Clamped(double value) const { return value < mClampLow ? mClampLow : std::min(mClampHigh, value); }
