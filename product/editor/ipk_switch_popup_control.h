// A button whose click opens a menu of its parameter's display texts (for
// parameters with more values than the button has frames), with the present
// text printed on the face like IPKSwitchControl.
#pragma once

#include "editor/iswitch_popup_control.h"

class IPKSwitchPopUpControl : public ISwitchPopUpControl {
 public:
  IPKSwitchPopUpControl(PluginBase* plugin, int x, int y, int paramIndex, const IBitmapStrip& strip,
                        const IBlendMode& blend = {});

  bool Draw(IGraphics* graphics) override;
  // A double-click steps the value like a plain switch's click.
  void OnMouseDblClick(int x, int y, const IMouseMods& mods) override;
  const IBox& TextBox() const { return mTextBox; }

 private:
  IBox mTextBox;
};
