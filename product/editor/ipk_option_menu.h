// The OPTIONS button: a click builds the option menu afresh (items greyed
// and ticked from the plug-in's present state) and runs the chosen command.
#pragma once

#include "editor/icontrol.h"
#include "product/menu_commands.h"

class EditorCommands;
class IMenu;

class IPKOptionMenu : public IControl {
 public:
  static constexpr int kCommand = -35;
  // Command numbers (MenuCommand): an item's position, sub-menu items offset.
  static constexpr int kMidiSettingsOffset = kCommandMidiThru;
  static constexpr int kOnlineOffset = kCommandCheckForUpdate;

  IPKOptionMenu(PluginBase* plugin, EditorCommands* commands, const IBox& box);

  // The face is in the background image: nothing to draw.
  bool Draw(IGraphics* graphics) override;
  void OnMouseDown(int x, int y, const IMouseMods& mods) override;

  IMenu BuildMenu() const;
  // The command number of the item chosen in menu (the top menu of
  // BuildMenu), or -1 when chosen is none of its menus.
  static int CommandFor(IMenu& menu, const IMenu* chosen);

 private:
  EditorCommands* mCommands;
};
