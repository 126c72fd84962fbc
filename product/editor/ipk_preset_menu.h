// The program display: number and name of the current program. A click on
// the name opens a text entry to rename the program; a click elsewhere opens
// the program menu (four groups of sixteen, the current one ticked).
#pragma once

#include <string>

#include "editor/icontrol.h"

class EditorCommands;
class IMenu;

class IPKPresetMenu : public IControl {
 public:
  static constexpr int kEntryLength = 253;
  static constexpr std::size_t kShownBytes = 32;
  static constexpr int kGroupSize = 16;

  IPKPresetMenu(PluginBase* plugin, EditorCommands* commands, const IBox& numberBox, const IBox& nameBox);

  bool Draw(IGraphics* graphics) override;
  void OnMouseDown(int x, int y, const IMouseMods& mods) override;
  // The typed name becomes the current program's name (with its present values).
  void TakeEntryText(const char* text) override;

  // The menu the click shows; exposed for its rules to be checked.
  IMenu BuildProgramMenu() const;
  const std::string& NumberText() const { return mNumberText; }
  const std::string& NameText() const { return mNameText; }

 private:
  void RunProgramMenu();

  EditorCommands* mCommands;
  std::string mNumberText;
  std::string mNameText;
  IBox mNumberBox;
  IBox mNameBox;
};
