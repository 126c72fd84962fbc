// A two-state button from a strip, with its parameter's display text
// ("Off", "Saw", ...) printed on the button face.
#pragma once

#include "editor/iswitch_control.h"

class IPKSwitchControl : public ISwitchControl {
 public:
  // Box: (x, y) and one frame; the text sits in the box's lower 16 pixels.
  IPKSwitchControl(PluginBase* plugin, int x, int y, int paramIndex, const IBitmapStrip& strip,
                   const IBlendMode& blend = {});

  // The frame for the value, then the display text over it.
  bool Draw(IGraphics* graphics) override;
  const IBox& TextBox() const { return mTextBox; }

 private:
  IBox mTextBox;
};

// Draws a switch's frame and its display text; shared with the pop-up switch.
bool IPKDrawSwitch(IBitmapControl& control, IGraphics* graphics, const IBox& textBox);
// The box a switch prints into: its box with the top moved down by 4.
IBox IPKSwitchTextBox(const IBox& box);
// Style and default value of a parameter-bound switch.
void IPKSetUpSwitch(IControl& control);
