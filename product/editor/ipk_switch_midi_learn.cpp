#include "product/editor/ipk_switch_midi_learn.h"

#include "editor/igraphics.h"
#include "product/editor/editor_commands.h"

IPKSwitchMidiLearn::IPKSwitchMidiLearn(PluginBase* plugin, EditorCommands* commands, int x, int y,
                                       const IBitmapStrip& learnStrip, const IBlendMode& blend)
    : ISwitchControl(plugin, x, y, kCommand, learnStrip, blend), mCommands(commands) {}

void IPKSwitchMidiLearn::OnMouseDown(int x, int y, const IMouseMods& mods) {
  if (mods.left) {
    ISwitchControl::OnMouseDown(x, y, mods);
    if (mCommands) mCommands->ArmMidiLearn(Value() > 0.0, !mLearnMode);
    return;
  }
  // The mode changes only while the switch is off; armed, a right click does nothing.
  if (!mods.right || Value() > 0.0) return;
  mLearnMode = !mLearnMode;
  if (IGraphics* graphics = Graphics()) {
    SetStrip(mLearnMode ? graphics->LoadBitmapById(kLearnImage, kLearnImageName, 2)
                        : graphics->LoadBitmapById(kUnlearnImage, kUnlearnImageName, 2));
  }
  SetDirty(true);
}
