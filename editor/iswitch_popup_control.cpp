#include "editor/iswitch_popup_control.h"

void ISwitchPopUpControl::OnMouseDown(int, int, const IMouseMods&) {
  AskForValue();
  SetDirty(true);
}

void ISwitchPopUpControl::OnMouseDblClick(int x, int y, const IMouseMods& mods) {
  ISwitchPopUpControl::OnMouseDown(x, y, mods);
}
