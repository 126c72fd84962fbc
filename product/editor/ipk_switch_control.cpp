#include "product/editor/ipk_switch_control.h"

#include <string>

#include "editor/igraphics.h"
#include "plugin/plugin_base.h"
#include "product/editor/ipk_value_text.h"

namespace {
constexpr int kTextInset = 4;
}  // namespace

IBox IPKSwitchTextBox(const IBox& box) { return {box.left, box.top + kTextInset, box.right, box.bottom}; }

void IPKSetUpSwitch(IControl& control) {
  control.SetTextStyle(IPKValueTextStyle());
  if (const IParam* param = control.Param()) control.SetDefaultValue(IPKNormalizedDefault(*param));
}

bool IPKDrawSwitch(IBitmapControl& control, IGraphics* graphics, const IBox& textBox) {
  control.IBitmapControl::Draw(graphics);
  const std::string text = IPKValueText(control.Param(), false);
  if (text.empty()) return true;
  return graphics->DrawText(control.TextStyle(), text.c_str(), textBox);
}

IPKSwitchControl::IPKSwitchControl(PluginBase* plugin, int x, int y, int paramIndex, const IBitmapStrip& strip,
                                   const IBlendMode& blend)
    : ISwitchControl(plugin, x, y, paramIndex, strip, blend), mTextBox(IPKSwitchTextBox(GetBox())) {
  IPKSetUpSwitch(*this);
}

bool IPKSwitchControl::Draw(IGraphics* graphics) { return IPKDrawSwitch(*this, graphics, mTextBox); }
