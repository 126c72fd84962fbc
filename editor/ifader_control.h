// A handle that slides along a track of `length` pixels; a click moves the
// handle's centre to the point, a drag follows the mouse.
#pragma once

#include "editor/ibitmap_strip.h"
#include "editor/icontrol.h"
#include "editor/iknob_control.h"

class IFaderControl : public IControl {
 public:
  // Box = target box = (x, y, x + strip width, y + length) for a vertical
  // fader, (x, y, x + length, y + strip height) for a horizontal one; the
  // handle size is the strip's height (vertical) or width (horizontal).
  IFaderControl(PluginBase* plugin, int x, int y, int length, int paramIndex, const IBitmapStrip& strip,
                int direction = kVertical, bool onlyHandle = true, const IBlendMode& blend = {});

  bool Draw(IGraphics* graphics) override;
  bool IsHit(int x, int y) override;
  void OnMouseDown(int x, int y, const IMouseMods& mods) override;
  void OnMouseDrag(int x, int y, int dx, int dy, const IMouseMods& mods) override;
  void OnMouseWheel(int x, int y, const IMouseMods& mods, int steps) override;
  virtual void MoveHandleTo(int x, int y);

  // Where the handle is for the present value.
  IBox HandleBox() const;
  int Length() const { return mLength; }
  int HandleSize() const { return mHandleSize; }
  int Direction() const { return mDirection; }
  const IBitmapStrip& Strip() const { return mStrip; }

 private:
  int mLength;
  int mHandleSize;
  IBitmapStrip mStrip;
  int mDirection;
  bool mOnlyHandle;
};
