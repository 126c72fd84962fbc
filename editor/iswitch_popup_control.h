// A switch whose click opens the value prompt (for enumerations, a menu of
// the display texts) instead of stepping.
#pragma once

#include "editor/iswitch_control.h"

class ISwitchPopUpControl : public ISwitchControl {
 public:
  using ISwitchControl::ISwitchControl;

  void OnMouseDown(int x, int y, const IMouseMods& mods) override;
  void OnMouseDblClick(int x, int y, const IMouseMods& mods) override;
};
