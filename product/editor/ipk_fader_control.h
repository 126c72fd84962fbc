// A vertical fader whose handle is drawn 8 pixels right of and 4 below the
// place the base fader uses for hits and dragging (the artwork's track sits
// there), with its parameter's value and unit printed under the track.
#pragma once

#include "editor/ifader_control.h"

class IPKFaderControl : public IFaderControl {
 public:
  static constexpr int kTop = 72;
  static constexpr int kLength = 120;

  // Drag area (x - 4, 72, x - 4 + strip width, 192); the box is widened to
  // (x - 4, 72, x + 40, 220) so that the value text redraws with it.
  IPKFaderControl(PluginBase* plugin, int x, int paramIndex, const IBitmapStrip& handle, const IBlendMode& blend = {});

  bool Draw(IGraphics* graphics) override;

  // Where the handle image is drawn for the present value.
  IBox DrawnHandleBox() const;
  const IBox& TextBox() const { return mTextBox; }

 private:
  IBox mTextBox;
};
