// A bitmap control that steps through its frames on every click, wrapping
// back to the first; either button steps it and it never prompts.
#pragma once

#include "editor/ibitmap_control.h"

class ISwitchControl : public IBitmapControl {
 public:
  using IBitmapControl::IBitmapControl;

  void OnMouseDown(int x, int y, const IMouseMods& mods) override;
  void OnMouseDblClick(int x, int y, const IMouseMods& mods) override;
};
