#include "product/editor/ipk_switch_popup_control.h"

#include "product/editor/ipk_switch_control.h"

IPKSwitchPopUpControl::IPKSwitchPopUpControl(PluginBase* plugin, int x, int y, int paramIndex,
                                             const IBitmapStrip& strip, const IBlendMode& blend)
    : ISwitchPopUpControl(plugin, x, y, paramIndex, strip, blend), mTextBox(IPKSwitchTextBox(GetBox())) {
  IPKSetUpSwitch(*this);
  SetPromptDisabled(false);
}

bool IPKSwitchPopUpControl::Draw(IGraphics* graphics) { return IPKDrawSwitch(*this, graphics, mTextBox); }

void IPKSwitchPopUpControl::OnMouseDblClick(int x, int y, const IMouseMods& mods) {
  ISwitchControl::OnMouseDblClick(x, y, mods);
}
