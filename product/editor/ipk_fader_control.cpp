#include "product/editor/ipk_fader_control.h"

#include <string>

#include "editor/igraphics.h"
#include "plugin/plugin_base.h"
#include "product/editor/ipk_value_text.h"

namespace {

constexpr int kDragInset = 4;    // the drag area starts this far left of x
constexpr int kHandleRight = 8;  // the handle image sits this far right of the drag area
constexpr int kHandleDown = 4;   // and this far below it
constexpr int kTextTop = 204;
constexpr int kTextBottom = 220;

}  // namespace

IPKFaderControl::IPKFaderControl(PluginBase* plugin, int x, int paramIndex, const IBitmapStrip& handle,
                                 const IBlendMode& blend)
    : IFaderControl(plugin, x - kDragInset, kTop, kLength, paramIndex, handle, kVertical, true, blend),
      mTextBox{x - 8, kTextTop, x + 40, kTextBottom} {
  IBox box = GetBox();
  box.right = x + 40;
  box.bottom = kTextBottom;
  SetBox(box);
  SetTextStyle(IPKValueTextStyle());
  if (const IParam* param = Param()) SetDefaultValue(IPKNormalizedDefault(*param));
}

IBox IPKFaderControl::DrawnHandleBox() const {
  const IBox& box = GetBox();
  const int travel = static_cast<int>((Length() - HandleSize()) * (1.0 - Value()));
  const int left = box.left + kHandleRight;
  const int top = box.top + kHandleDown + travel;
  return {left, top, left + Strip().width, top + Strip().height};
}

bool IPKFaderControl::Draw(IGraphics* graphics) {
  graphics->DrawBitmap(Strip(), DrawnHandleBox(), 0, 0, &Blend());
  const std::string text = IPKValueText(Param(), true);
  if (text.empty()) return true;
  return graphics->DrawText(TextStyle(), text.c_str(), mTextBox);
}
