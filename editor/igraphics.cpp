#include "editor/igraphics.h"

#include "editor/icontrol.h"
#include "plugin/plugin_base.h"
#include "raster/px_sys_bitmap.h"

IGraphics::IGraphics(PluginBase* plugin, int width, int height, int frameRate)
    : mPlugin(plugin), mWidth(width), mHeight(height), mFrameRate(frameRate) {}

IGraphics::~IGraphics() { DestroyControls(); }

void IGraphics::DestroyControls() {
  std::lock_guard<std::mutex> guard(mControlsLock);
  mControls.clear();
}

void IGraphics::AttachControl(IControl* control) {
  if (!control) return;
  control->SetGraphics(this);
  std::lock_guard<std::mutex> guard(mControlsLock);
  mControls.emplace_back(control);
}

IControl* IGraphics::GetControl(int index) const {
  if (index < 0 || index >= NControls()) return nullptr;
  return mControls[static_cast<size_t>(index)].get();
}

void IGraphics::MarkAllDirty() {
  for (auto& control : mControls) control->SetDirty(false);
}

void IGraphics::CreateDrawingSurface() { mDrawBitmap = std::make_unique<PX_SysBitmap>(mWidth, mHeight); }

PX_IBitmap* IGraphics::DrawBitmapSurface() const { return mDrawBitmap.get(); }

void IGraphics::Resize(int width, int height) {
  mWidth = width;
  mHeight = height;
  ReleaseMouseCapture();
  mHoveredControl = -1;
  DestroyControls();
  mDrawBitmap.reset();
  CreateDrawingSurface();
  if (mPlugin) mPlugin->ResizeEditor(width, height);
}

void IGraphics::ApplyParameterToControls(int paramIndex, double value, bool normalized) {
  if (!normalized) {
    const IParam* param = mPlugin ? mPlugin->GetParam(paramIndex) : nullptr;
    if (!param) return;
    value = param->GetNormalized(value);
  }
  std::lock_guard<std::mutex> guard(mControlsLock);
  for (auto& control : mControls) {
    if (control->ParamIndex() == paramIndex) control->ApplyPluginValue(value);
    for (int i = 0; i < control->NAuxParams(); ++i) {
      if (control->AuxParamIndex(i) == paramIndex) {
        control->ApplyAuxValue(i, value);
        break;
      }
    }
  }
}

void IGraphics::ApplyPluginValueToControls(int paramIndex, double normalized) {
  ApplyParameterToControls(paramIndex, normalized, true);
}

// --- Events ---

int IGraphics::FindControl(int x, int y, bool mouseOver) const {
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl* control = mControls[static_cast<size_t>(i)].get();
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(mouseOver && control->MouseOverWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::ReleaseMouseCapture() {
  mCapturedControl = -1;
  mMouseX = mMouseY = -1;
}

void IGraphics::OnMouseDown(int x, int y, const IMouseMods& mods) {
  ReleaseMouseCapture();
  const int index = FindControl(x, y);
  if (index < 0) return;
  mCapturedControl = index;
  mMouseX = x;
  mMouseY = y;
  IControl* control = GetControl(index);
  const int param = control->ParamIndex();
  if (param >= 0 && mPlugin) mPlugin->BeginHostParamEdit(param);
  control->OnMouseDown(x, y, mods);
}

void IGraphics::OnMouseUp(int x, int y, const IMouseMods& mods) {
  const int index = mCapturedControl >= 0 ? mCapturedControl : FindControl(x, y);
  ReleaseMouseCapture();
  IControl* control = GetControl(index);
  if (!control) return;
  control->OnMouseUp(x, y, mods);
  const int param = control->ParamIndex();
  if (param >= 0 && mPlugin) mPlugin->EndHostParamEdit(param);
}

void IGraphics::OnMouseDrag(int x, int y, const IMouseMods& mods) {
  IControl* control = GetControl(mCapturedControl);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dx = x - mMouseX;
  const int dy = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDrag(x, y, dx, dy, mods);
}

bool IGraphics::OnMouseDblClick(int x, int y, const IMouseMods& mods) {
  ReleaseMouseCapture();
  const int index = FindControl(x, y);
  IControl* control = GetControl(index);
  if (!control) return false;
  if (!control->TreatsDoubleClickAsClick()) {
    control->OnMouseDblClick(x, y, mods);
    return false;
  }
  // Pressed like a click, and bracketed like one: the release that follows
  // ends the host's edit, so it begins here.
  mCapturedControl = index;
  mMouseX = x;
  mMouseY = y;
  if (control->ParamIndex() >= 0 && mPlugin) mPlugin->BeginHostParamEdit(control->ParamIndex());
  control->OnMouseDown(x, y, mods);
  return true;
}

bool IGraphics::OnMouseOver(int x, int y, const IMouseMods& mods) {
  if (!mHandleMouseOver) return false;
  const int index = mCapturedControl >= 0 ? mCapturedControl : FindControl(x, y, true);
  IControl* control = GetControl(index);
  if (!control) return true;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseOver(x, y, mods);
  if (IControl* previous = GetControl(mHoveredControl); previous && mHoveredControl != index) previous->OnMouseOut();
  mHoveredControl = index;
  return true;
}

void IGraphics::OnMouseOut() {
  for (auto& control : mControls) control->OnMouseOut();
  mHoveredControl = -1;
}

void IGraphics::OnMouseWheel(int x, int y, const IMouseMods& mods, int steps) {
  const int index = mCapturedControl >= 0 ? mCapturedControl : FindControl(x, y);
  if (IControl* control = GetControl(index)) control->OnMouseWheel(x, y, mods, steps);
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  const int index = mCapturedControl >= 0 ? mCapturedControl : FindControl(x, y);
  if (index <= 0) return false;
  return GetControl(index)->OnKeyDown(x, y, key);
}
