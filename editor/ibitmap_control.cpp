#include "editor/ibitmap_control.h"

#include <algorithm>

#include "editor/igraphics.h"

IBitmapControl::IBitmapControl(PluginBase* plugin, int x, int y, int paramIndex, const IBitmapStrip& strip,
                               const IBlendMode& blend)
    : IControl(plugin, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, paramIndex, blend), mStrip(strip) {}

int IBitmapControl::FrameForValue() const {
  const int frames = mStrip.frames;
  if (frames < 2) return 1;
  const int frame = static_cast<int>((frames - 1) * Value() + 0.5) + 1;
  return std::clamp(frame, 1, frames);
}

bool IBitmapControl::Draw(IGraphics* graphics) {
  return graphics->DrawBitmapFrame(mStrip, GetBox(), FrameForValue(), &Blend());
}
