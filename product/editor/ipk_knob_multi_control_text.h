// A knob drawn as one frame of a strip, with its parameter's value and unit
// printed under it in the common value-text style.
#pragma once

#include "editor/ibitmap_strip.h"
#include "editor/iknob_control.h"

class IPKKnobMultiControlText : public IKnobControl {
 public:
  // Box: (x, y) and the strip's frame, plus 16 pixels of text below it.
  IPKKnobMultiControlText(PluginBase* plugin, int x, int y, int paramIndex, const IBitmapStrip& strip,
                          const IBlendMode& blend = {});

  // The frame for the value, then the value text when there is one.
  bool Draw(IGraphics* graphics) override;

  // 1 .. frames: (int)((frames - 1) * value + 0.5) + 1.
  int FrameForValue() const;
  const IBox& ImageBox() const { return mImageBox; }
  const IBox& TextBox() const { return mTextBox; }

 private:
  IBox mTextBox;
  IBox mImageBox;
  IBitmapStrip mStrip;
};
