#include "editor/iknob_control.h"

IKnobControl::IKnobControl(PluginBase* plugin, const IBox& box, int paramIndex, int direction, double gearing,
                           const IBlendMode& blend)
    : IControl(plugin, box, paramIndex, blend), mDirection(direction), mGearing(gearing) {}

void IKnobControl::OnMouseDrag(int, int, int dx, int dy, const IMouseMods& mods) {
  double gearing = mGearing;
  if (mods.control || mods.shift) gearing *= kFineFactor;
  const IBox& box = GetBox();
  if (mDirection == kVertical) {
    SetValue(Value() + static_cast<double>(dy) / (box.top - box.bottom) / gearing);
  } else {
    SetValue(Value() + static_cast<double>(dx) / (box.right - box.left) / gearing);
  }
  SetDirty(true);
}

void IKnobControl::OnMouseWheel(int, int, const IMouseMods& mods, int steps) {
  const double step = (mods.control || mods.shift) ? kFineWheelStep : kWheelStep;
  SetValue(Value() + steps * step);
  SetDirty(true);
}
