#include "product/editor/ipk_utility_kick.h"

#include "plugin/plugin_base.h"
#include "product/editor/editor_commands.h"

IPKUtilityKick::IPKUtilityKick(PluginBase* plugin, EditorCommands* commands, const IBox& box, int command)
    : IControl(plugin, box, command), mCommands(commands) {}

bool IPKUtilityKick::Draw(IGraphics*) { return true; }

void IPKUtilityKick::OnMouseDown(int, int, const IMouseMods&) {
  if (!mCommands || !Plugin()) return;
  const int current = Plugin()->CurrentPresetIndex();
  switch (ParamIndex()) {
    case kPreviousProgram: mCommands->GoToProgram(current - 1 < 0 ? PluginBase::kPresetCount - 1 : current - 1); break;
    case kNextProgram: mCommands->GoToProgram(current + 1 >= PluginBase::kPresetCount ? 0 : current + 1); break;
    case kSwitchView: mCommands->SwitchView(); break;
    default: break;
  }
}
