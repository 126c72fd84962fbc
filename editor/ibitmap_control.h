// A control drawn as one frame of a bitmap strip chosen by its value; also
// the editor's background.
#pragma once

#include "editor/ibitmap_strip.h"
#include "editor/icontrol.h"

class IBitmapControl : public IControl {
 public:
  // Box: (x, y) and one frame's size.
  IBitmapControl(PluginBase* plugin, int x, int y, int paramIndex, const IBitmapStrip& strip,
                 const IBlendMode& blend = {});

  bool Draw(IGraphics* graphics) override;

  // The frame for the present value: 1 .. frames.
  int FrameForValue() const;
  const IBitmapStrip& Strip() const { return mStrip; }
  void SetStrip(const IBitmapStrip& strip) { mStrip = strip; }

 private:
  IBitmapStrip mStrip;
};
