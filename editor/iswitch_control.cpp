#include "editor/iswitch_control.h"

namespace {
// A little over 1, so that steps of 1 / (frames - 1) that add up to 1 with
// rounding errors still show the last frame.
constexpr double kWrapAbove = 1.001;
}  // namespace

void ISwitchControl::OnMouseDown(int, int, const IMouseMods&) {
  const int frames = Strip().frames;
  double value = Value() + (frames < 2 ? 1.0 : 1.0 / (frames - 1));
  if (value > kWrapAbove) value = 0.0;
  SetValue(value);
  SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, const IMouseMods& mods) { ISwitchControl::OnMouseDown(x, y, mods); }
