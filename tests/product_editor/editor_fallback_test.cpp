// An editor whose images cannot be loaded still opens and works: every
// control gets a transparent stand-in strip, draws nothing harmful and
// answers the mouse. Its own program, so that no image is in the
// process-wide cache yet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/icontrol.h"
#include "editor/platform/igraphics_headless.h"
#include "plugin/vst2/vst_plugin.h"
#include "product/editor/editor_commands.h"
#include "product/editor/vorn_editor_layout.h"

namespace {

class NoImages : public IGraphicsHeadless {
 public:
  using IGraphicsHeadless::IGraphicsHeadless;
  PX_IBitmap* LoadImageResource(int, const char*) override { return nullptr; }
};

class Commands : public EditorCommands {
 public:
  void GoToProgram(int index) override { lastProgram = index; }
  void RunMenuCommand(IGraphics&, int command) override { lastCommand = command; }
  void SwitchView() override { ++switches; }
  bool HasCopiedProgram() const override { return false; }
  bool HasStartupBank() const override { return false; }
  bool MidiThru() const override { return false; }
  bool IgnoreProgramChange() const override { return false; }
  void ArmMidiLearn(bool armed, bool) override { learnArmed = armed; }
  void SetLearnSwitch(IControl* control) override { learnSwitch = control; }

  int lastProgram = -1;
  int lastCommand = -1;
  int switches = 0;
  bool learnArmed = false;
  IControl* learnSwitch = nullptr;
};

TEST(EditorWithoutImages, BuildsDrawsAndAnswersTheMouse) {
  VstPlugin plugin(nullptr, "Vorn", "", "", 1, 0x00010200, "0-1 0-2", 64);
  NoImages editor(&plugin);
  Commands commands;
  VornEditorLayout layout;
  layout.Build(editor, plugin, commands);
  ASSERT_EQ(editor.NControls(), 71);
  EXPECT_NE(commands.learnSwitch, nullptr);
  EXPECT_TRUE(editor.Tick());

  editor.Click(368, 256);  // the view switch area
  EXPECT_EQ(commands.switches, 1);
  editor.Click(594, 256);  // next program
  EXPECT_EQ(commands.lastProgram, 1);
  editor.Click(713, 288);  // the learn switch still arms
  EXPECT_TRUE(commands.learnArmed);
  editor.QueueMenuChoice({"Switch View"});
  editor.Click(784, 288);
  EXPECT_EQ(commands.lastCommand, 18);
  editor.MarkAllDirty();
  EXPECT_TRUE(editor.Tick());
}

TEST(EditorWithoutImages, OptionMenuItemsRunTheirCommandNumbers) {
  VstPlugin plugin(nullptr, "Vorn", "", "", 1, 0x00010200, "0-1 0-2", 64);
  NoImages editor(&plugin);
  Commands commands;
  VornEditorLayout layout;
  layout.Build(editor, plugin, commands);
  const struct {
    std::vector<std::string> path;
    int command;
  } choices[] = {
      {{"Copy Program"}, 0},
      {{"Save Bank"}, 7},
      {{"Select Startup Bank"}, 9},
      {{"Save Configuration"}, 16},
      {{"Switch View"}, 18},
      {{"Global MIDI Settings...", "MIDI Thru"}, 20},
      {{"Global MIDI Settings...", "Ignore Program Change"}, 21},
      {{"Go Online...", "Check Online for Update"}, 22},
  };
  for (const auto& choice : choices) {
    commands.lastCommand = -1;
    editor.QueueMenuChoice(choice.path);
    editor.Click(784, 288);
    EXPECT_EQ(commands.lastCommand, choice.command) << choice.path.back();
  }
  // Greyed items cannot be chosen; dismissing the menu runs nothing.
  commands.lastCommand = -1;
  editor.QueueMenuChoice({"Paste Program"});
  editor.Click(784, 288);
  editor.QueueMenuChoice({});
  editor.Click(784, 288);
  EXPECT_EQ(commands.lastCommand, -1);
  // Visiting the web site opens the link itself.
  editor.QueueMenuChoice({"Go Online...", "Visit www.paperkitesounds.com"});
  editor.Click(784, 288);
  EXPECT_EQ(commands.lastCommand, -1);
  EXPECT_EQ(editor.LinksOpened().size(), 1u);
}

}  // namespace
