// An invisible click area that runs a command: the previous- and
// next-program arrows and the view-one "Switch View" face, all drawn in the
// background image.
#pragma once

#include "editor/icontrol.h"

class EditorCommands;

class IPKUtilityKick : public IControl {
 public:
  static constexpr int kPreviousProgram = -36;
  static constexpr int kNextProgram = -37;
  static constexpr int kSwitchView = -38;

  // command goes into the parameter field (negative: no parameter bound).
  IPKUtilityKick(PluginBase* plugin, EditorCommands* commands, const IBox& box, int command);

  // Nothing to draw.
  bool Draw(IGraphics* graphics) override;
  // Any button runs the command.
  void OnMouseDown(int x, int y, const IMouseMods& mods) override;

 private:
  EditorCommands* mCommands;
};
