#include "product/editor/ipk_knob_multi_control_text.h"

#include <algorithm>
#include <string>

#include "editor/igraphics.h"
#include "plugin/plugin_base.h"
#include "product/editor/ipk_value_text.h"

namespace {

constexpr int kTextHeight = 16;
constexpr int kTextGap = 2;

IBox KnobBox(int x, int y, const IBitmapStrip& strip) {
  return {x, y, x + strip.width, y + strip.FrameHeight() + kTextHeight};
}

}  // namespace

IPKKnobMultiControlText::IPKKnobMultiControlText(PluginBase* plugin, int x, int y, int paramIndex,
                                                 const IBitmapStrip& strip, const IBlendMode& blend)
    : IKnobControl(plugin, KnobBox(x, y, strip), paramIndex, kVertical, kDefaultGearing, blend), mStrip(strip) {
  const IBox& box = GetBox();
  mImageBox = {box.left, box.top, box.left + strip.FrameWidth(), box.top + strip.FrameHeight()};
  mTextBox = {mImageBox.left, mImageBox.bottom + kTextGap, mImageBox.right, mImageBox.bottom + kTextHeight};
  SetTextStyle(IPKValueTextStyle());
  if (const IParam* param = Param()) SetDefaultValue(IPKNormalizedDefault(*param));
}

int IPKKnobMultiControlText::FrameForValue() const {
  if (mStrip.frames <= 1) return 1;
  const int frame = static_cast<int>((mStrip.frames - 1) * Value() + 0.5) + 1;
  return std::clamp(frame, 1, mStrip.frames);
}

bool IPKKnobMultiControlText::Draw(IGraphics* graphics) {
  graphics->DrawBitmapFrame(mStrip, mImageBox, FrameForValue(), &Blend());
  const std::string text = IPKValueText(Param(), true);
  if (text.empty()) return true;
  return graphics->DrawText(TextStyle(), text.c_str(), mTextBox);
}
