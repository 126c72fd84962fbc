#include "editor/ifader_control.h"

#include "editor/igraphics.h"

namespace {

IBox FaderBox(int x, int y, int length, const IBitmapStrip& strip, int direction) {
  if (direction == kVertical) return {x, y, x + strip.width, y + length};
  return {x, y, x + length, y + strip.height};
}

}  // namespace

IFaderControl::IFaderControl(PluginBase* plugin, int x, int y, int length, int paramIndex, const IBitmapStrip& strip,
                             int direction, bool onlyHandle, const IBlendMode& blend)
    : IControl(plugin, FaderBox(x, y, length, strip, direction), paramIndex, blend),
      mLength(length),
      mHandleSize(direction == kVertical ? strip.height : strip.width),
      mStrip(strip),
      mDirection(direction),
      mOnlyHandle(onlyHandle) {}

IBox IFaderControl::HandleBox() const {
  const IBox& box = GetBox();
  const int travel = mLength - mHandleSize;
  if (mDirection == kVertical) {
    const int top = box.top + static_cast<int>(travel * (1.0 - Value()));
    return {box.left, top, box.left + mStrip.width, top + mStrip.height};
  }
  const int left = box.left + static_cast<int>(travel * Value());
  return {left, box.top, left + mStrip.width, box.top + mStrip.height};
}

bool IFaderControl::Draw(IGraphics* graphics) { return graphics->DrawBitmap(mStrip, HandleBox(), 0, 0, &Blend()); }

bool IFaderControl::IsHit(int x, int y) {
  if (mOnlyHandle) return HandleBox().Contains(x, y);
  return IControl::IsHit(x, y);
}

void IFaderControl::OnMouseDown(int x, int y, const IMouseMods& mods) {
  if (mods.right) {
    AskForValue();
    return;
  }
  MoveHandleTo(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, const IMouseMods&) { MoveHandleTo(x, y); }

void IFaderControl::OnMouseWheel(int, int, const IMouseMods& mods, int steps) {
  const double step = (mods.control || mods.shift) ? IKnobControl::kFineWheelStep : IKnobControl::kWheelStep;
  SetValue(Value() + steps * step);
  SetDirty(true);
}

// A track no longer than the handle has no travel: the value stays put
// rather than becoming infinite.
void IFaderControl::MoveHandleTo(int x, int y) {
  const int travel = mLength - mHandleSize;
  if (travel <= 0) return;
  const IBox& box = GetBox();
  if (mDirection == kVertical) {
    SetValue(1.0 - static_cast<double>(y - box.top - mHandleSize / 2) / travel);
  } else {
    SetValue(static_cast<double>(x - box.left - mHandleSize / 2) / travel);
  }
  SetDirty(true);
}
