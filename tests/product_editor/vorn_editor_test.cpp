// Vorn's editor as a user meets it: both views, the view switch, the program
// display and menus, the arrows, the option menu and MIDI learn, all driven
// through the headless surface with real clicks and drags.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "editor/ibitmap_control.h"
#include "editor/imenu.h"
#include "product/editor/ipk_fader_control.h"
#include "product/editor/ipk_knob_multi_control_text.h"
#include "product/editor/ipk_preset_menu.h"
#include "product/editor/ipk_switch_midi_learn.h"
#include "tests/product_editor/vorn_editor_fixture.h"

namespace {

constexpr int kSwitchViewX = 368, kSwitchViewY = 256;
constexpr int kOptionsX = 784, kOptionsY = 288;
constexpr int kPreviousX = 546, kNextX = 594, kArrowY = 256;
constexpr int kNumberX = 570, kNameX = 700, kProgramY = 258;
constexpr int kLearnX = 713, kLearnY = 288;

bool AllHidden(const std::vector<IControl*>& controls, bool hidden) {
  return std::all_of(controls.begin(), controls.end(), [&](IControl* c) { return c->IsHidden() == hidden; });
}

MidiMessage ControlChange(int controller, int value) {
  MidiMessage event;
  event.status = 0xB0;
  event.data1 = static_cast<std::uint8_t>(controller);
  event.data2 = static_cast<std::uint8_t>(value);
  return event;
}

TEST_F(VornEditorTest, ViewOneIsShownAfterConstruction) {
  IGraphicsHeadless& editor = Editor();
  ASSERT_EQ(editor.NControls(), 8 + 32 + 31);
  EXPECT_EQ(Layout().ViewOneControls().size(), 32u);
  EXPECT_EQ(Layout().ViewTwoControls().size(), 31u);
  EXPECT_FALSE(editor.GetControl(0)->IsHidden());
  EXPECT_TRUE(editor.GetControl(1)->IsHidden());
  EXPECT_TRUE(AllHidden(Layout().ViewOneControls(), false));
  EXPECT_TRUE(AllHidden(Layout().ViewTwoControls(), true));
  // Drawing order: backgrounds, shared panel, view one, view two.
  EXPECT_EQ(editor.GetControl(8), Layout().ViewOneControls().front());
  EXPECT_EQ(editor.GetControl(8 + 32), Layout().ViewTwoControls().front());
  // "M. Tune" is reached through the host only.
  for (int i = 0; i < editor.NControls(); ++i) EXPECT_NE(editor.GetControl(i)->ParamIndex(), 4) << i;
}

TEST_F(VornEditorTest, SwitchViewAreaAndOptionMenuSwitchBackAndForth) {
  IGraphicsHeadless& editor = Editor();
  editor.Click(kSwitchViewX, kSwitchViewY);
  EXPECT_TRUE(Layout().IsSecondViewShown());
  EXPECT_TRUE(editor.GetControl(0)->IsHidden());
  EXPECT_FALSE(editor.GetControl(1)->IsHidden());
  EXPECT_TRUE(AllHidden(Layout().ViewOneControls(), true));
  EXPECT_TRUE(AllHidden(Layout().ViewTwoControls(), false));
  // View two has no switch area: the same spot is the background there.
  editor.Click(kSwitchViewX, kSwitchViewY);
  EXPECT_TRUE(Layout().IsSecondViewShown());

  editor.QueueMenuChoice({"Switch View"});
  editor.Click(kOptionsX, kOptionsY);
  EXPECT_FALSE(Layout().IsSecondViewShown());
  EXPECT_TRUE(AllHidden(Layout().ViewTwoControls(), true));
  EXPECT_FALSE(editor.GetControl(0)->IsHidden());
}

TEST_F(VornEditorTest, ParameterChangedWhileHiddenShowsAfterTheSwitch) {
  // Volume has a knob in view one and a fader in view two; resonance only a
  // knob in view one and a fader in view two.
  vorn->GetParam(13)->SetNormalized(0.75);
  vorn->GetParam(0)->SetNormalized(0.25);
  Editor().Click(kSwitchViewX, kSwitchViewY);
  EXPECT_DOUBLE_EQ(ControlOf(2, 13)->Value(), 0.75);
  EXPECT_DOUBLE_EQ(ControlOf(2, 0)->Value(), 0.25);
  // The fader's handle is drawn where its value puts it.
  auto* fader = static_cast<IPKFaderControl*>(ControlOf(2, 13));
  EXPECT_EQ(fader->DrawnHandleBox().top, 72 + 4 + static_cast<int>((120 - 16) * 0.25));
  EXPECT_EQ(fader->DrawnHandleBox().left, 80 - 4 + 8);
}

TEST_F(VornEditorTest, KnobFramesAndValueTextBoxes) {
  auto* knob = static_cast<IPKKnobMultiControlText*>(ControlOf(1, 3));  // at (72, 80)
  EXPECT_EQ(knob->GetBox(), (IBox{72, 80, 120, 144}));
  EXPECT_EQ(knob->ImageBox(), (IBox{72, 80, 120, 128}));
  EXPECT_EQ(knob->TextBox(), (IBox{72, 130, 120, 144}));
  auto* small = static_cast<IPKKnobMultiControlText*>(ControlOf(1, 2));  // at (28, 234)
  EXPECT_EQ(small->TextBox(), (IBox{28, 260, 52, 274}));
  const struct {
    double value;
    int frame;
  } frames[] = {{0.0, 1}, {0.5, 32}, {1.0, 63}, {1.0 / 62.0, 2}, {1.5, 63}};
  for (const auto& row : frames) {
    knob->SetValue(row.value);
    EXPECT_EQ(knob->FrameForValue(), row.frame) << row.value;
  }
}

TEST_F(VornEditorTest, KnobValueTextIsDrawnBetween130And144) {
  Redraw();
  const std::vector<uint32_t> before = Pixels(72, 128, 120, 150);
  vorn->GetParam(3)->SetNormalized(1.0);  // "5.00s" instead of "0.00s"
  vorn->RefreshEditorControls();
  Redraw();
  const std::vector<uint32_t> after = Pixels(72, 128, 120, 150);
  int changedTop = 999, changedBottom = -1;
  for (int row = 0; row < 22; ++row) {
    for (int col = 0; col < 48; ++col) {
      if (before[row * 48 + col] != after[row * 48 + col]) {
        changedTop = std::min(changedTop, 128 + row);
        changedBottom = std::max(changedBottom, 128 + row);
      }
    }
  }
  EXPECT_GE(changedTop, 130);
  EXPECT_LT(changedBottom, 144);
  EXPECT_LE(changedTop, changedBottom) << "the text did not change";
}

TEST_F(VornEditorTest, SwitchTogglesAndPrintsItsDisplayText) {
  IControl* sync = ControlOf(1, 10);  // "Sync" at (148, 236)
  const bool wasOn = vorn->GetParam(10)->Int() != 0;
  Editor().Click(160, 246);
  EXPECT_EQ(vorn->GetParam(10)->Int() != 0, !wasOn);
  EXPECT_EQ(static_cast<IBitmapControl*>(sync)->FrameForValue(), wasOn ? 1 : 2);
  Editor().Click(160, 246);
  EXPECT_EQ(vorn->GetParam(10)->Int() != 0, wasOn);
}

TEST_F(VornEditorTest, PopUpSwitchChoosesFromItsDisplayTexts) {
  Editor().QueueMenuChoice({"Multiple"});
  Editor().Click(30, 100);  // "Monophon" at (16, 92)
  EXPECT_EQ(vorn->GetParam(1)->Int(), 1);
  ASSERT_FALSE(Editor().MenusShown().empty());
  EXPECT_NE(Editor().MenusShown().back().find("Single"), std::string::npos);
}

TEST_F(VornEditorTest, DoubleClickRestoresTheDefault) {
  IGraphicsHeadless& editor = Editor();
  editor.DragFromTo(96, 100, 96, 40);  // "Portamnt" knob up
  EXPECT_GT(vorn->GetParam(3)->Value(), 0.0);
  editor.OnMouseDblClick(96, 100, IGraphicsHeadless::LeftButton());
  EXPECT_DOUBLE_EQ(vorn->GetParam(3)->Value(), 0.0);
  // Flt Freq's default sits inside its range, with a shape of 0.5.
  editor.Click(kSwitchViewX, kSwitchViewY);
  IControl* cutoff = ControlOf(2, 12);
  EXPECT_NEAR(cutoff->DefaultValue(), std::pow(12218.805178903542 / 17280.0, 2.0), 1e-12);
}

TEST_F(VornEditorTest, ProgramMenuHasFourGroupsAndSelectsSlot37) {
  vorn->SelectPreset(5);
  const std::string name37 = vorn->GetPresetName(37);
  Editor().QueueMenuChoice({"32 - 47", "37: " + name37});
  Editor().Click(kNumberX, kProgramY);
  EXPECT_EQ(vorn->CurrentPresetIndex(), 37);
  ASSERT_EQ(Editor().MenusShown().size(), 1u);
  const std::string& shown = Editor().MenusShown()[0];
  for (const char* group : {"00 - 15", "16 - 31", "32 - 47", "48 - 63"})
    EXPECT_NE(shown.find(group), std::string::npos) << group;
  EXPECT_NE(shown.find("05: "), std::string::npos);
  EXPECT_NE(shown.find("63: "), std::string::npos);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 4 + 64) << shown;
  // The current program is the one ticked.
  auto* display = static_cast<IPKPresetMenu*>(Editor().GetControl(2));
  IMenu menu = display->BuildProgramMenu();
  EXPECT_TRUE(menu.Item(2).submenu->Item(5).IsChecked());
  EXPECT_FALSE(menu.Item(0).submenu->Item(5).IsChecked());
}

TEST_F(VornEditorTest, ArrowsStepAndWrapAround) {
  const struct {
    int from;
    int x;
    int to;
  } steps[] = {{0, kPreviousX, 63}, {63, kNextX, 0}, {10, kNextX, 11}, {10, kPreviousX, 9}};
  for (const auto& step : steps) {
    vorn->SelectPreset(step.from);
    Editor().Click(step.x, kArrowY);
    EXPECT_EQ(vorn->CurrentPresetIndex(), step.to) << step.from;
  }
}

TEST_F(VornEditorTest, RenamingKeepsLongAndNonAsciiNamesWhole) {
  IGraphicsHeadless& editor = Editor();
  auto* display = static_cast<IPKPresetMenu*>(editor.GetControl(2));
  // 29 ASCII bytes, then a two-byte character cut by the entry's limit.
  const std::string typed = "Warm Strings With Slow Attac\xC3\xA9 and more";
  editor.QueueTextEntry(typed);
  editor.Click(kNameX, kProgramY);
  ASSERT_TRUE(editor.IsTextEntryOpen());
  editor.Tick();
  const std::string stored = vorn->GetPresetName(vorn->CurrentPresetIndex());
  EXPECT_EQ(typed.compare(0, stored.size(), stored), 0) << stored;
  EXPECT_GE(stored.size(), 28u);
  // No character is left cut in two.
  EXPECT_NE(static_cast<unsigned char>(stored.back()) & 0xC0, 0xC0u);
  Redraw();
  EXPECT_LE(display->NameText().size(), IPKPresetMenu::kShownBytes);

  const std::string accented = "Kl\xC3\xA4nge \xE2\x80\x94 F\xC3\xBC\xC3\x9F";
  editor.QueueTextEntry(accented);
  editor.Click(kNameX, kProgramY);
  editor.Tick();
  EXPECT_EQ(vorn->GetPresetName(vorn->CurrentPresetIndex()), accented);
  Redraw();
  EXPECT_EQ(display->NameText(), accented);
}

TEST_F(VornEditorTest, LearnSwitchRightClickSwapsModeOnlyWhileOff) {
  IGraphicsHeadless& editor = Editor();
  auto* learn = static_cast<IPKSwitchMidiLearn*>(editor.GetControl(7));
  const PX_IBitmap* learnImage = learn->Strip().bitmap;
  EXPECT_TRUE(learn->IsLearnMode());

  editor.Click(kLearnX, kLearnY, IGraphicsHeadless::RightButton());
  EXPECT_FALSE(learn->IsLearnMode());
  EXPECT_NE(learn->Strip().bitmap, learnImage);
  EXPECT_EQ(learn->Strip().bitmap, editor.LoadBitmapById(108, "resources/img/midiunlearn.png", 2).bitmap);

  editor.Click(kLearnX, kLearnY);  // armed to unlearn
  EXPECT_TRUE(vorn->IsMidiLearnArmed());
  EXPECT_TRUE(vorn->IsUnlearnMode());
  editor.Click(kLearnX, kLearnY, IGraphicsHeadless::RightButton());
  EXPECT_FALSE(learn->IsLearnMode()) << "a right click while armed changes nothing";
  EXPECT_GT(learn->Value(), 0.0);

  editor.OnMouseDblClick(kLearnX, kLearnY, IGraphicsHeadless::LeftButton());  // a double-click is a click
  EXPECT_FALSE(vorn->IsMidiLearnArmed());
  EXPECT_EQ(learn->Value(), 0.0);
  editor.Click(kLearnX, kLearnY, IGraphicsHeadless::RightButton());
  EXPECT_TRUE(learn->IsLearnMode());
  EXPECT_EQ(learn->Strip().bitmap, learnImage);
}

TEST_F(VornEditorTest, MidiLearnFromTheSwitchToTheKnob) {
  IGraphicsHeadless& editor = Editor();
  auto* learn = static_cast<IPKSwitchMidiLearn*>(editor.GetControl(7));
  editor.Click(kLearnX, kLearnY);
  ASSERT_TRUE(vorn->IsMidiLearnArmed());
  vorn->HandleMidiMessage(ControlChange(74, 10));
  editor.DragFromTo(260, 100, 260, 90);  // the cutoff knob
  EXPECT_EQ(vorn->ControllerTarget(74), 12);
  EXPECT_FALSE(vorn->IsMidiLearnArmed());
  EXPECT_EQ(learn->Value(), 0.0) << "the switch shows off again";

  vorn->SetSampleRate(44100);
  vorn->ResetEngine();
  vorn->HandleMidiMessage(ControlChange(74, 127));
  double left[64], right[64];
  double* outputs[2] = {left, right};
  vorn->RenderBlock(nullptr, outputs, 64);  // queued controllers are applied on the control tick
  EXPECT_DOUBLE_EQ(vorn->GetParam(12)->GetNormalized(), 1.0);
  EXPECT_DOUBLE_EQ(ControlOf(1, 12)->Value(), 1.0);

  // "Save Configuration" from the option menu keeps the binding.
  editor.QueueMenuChoice({"Save Configuration"});
  editor.QueueMessageAnswer(IGraphics::kAnswerYes);
  editor.Click(kOptionsX, kOptionsY);
  EXPECT_NE(settings.Read().find("[MIDI Control]\r\nCC74=12\r\n"), std::string::npos) << settings.Read();
}

TEST_F(VornEditorTest, OptionMenuGreysWhatCannotRunYet) {
  IGraphicsHeadless& editor = Editor();
  editor.Click(kOptionsX, kOptionsY);
  vorn->SelectStartupBank("/banks/start.fxb");
  editor.Click(kOptionsX, kOptionsY);
  ASSERT_EQ(editor.MenusShown().size(), 2u);
  const std::string& first = editor.MenusShown()[0];
  const std::string& second = editor.MenusShown()[1];
  for (const char* item : {"Load Startup Bank (grey)", "Unselect Startup Bank (grey)", "Paste Program (grey)"})
    EXPECT_NE(first.find(item), std::string::npos) << item << "\n" << first;
  EXPECT_EQ(second.find("Load Startup Bank (grey)"), std::string::npos);
  EXPECT_EQ(second.find("Unselect Startup Bank (grey)"), std::string::npos);
  EXPECT_EQ(first.find("Copy Program (grey)"), std::string::npos);
  EXPECT_NE(first.find("Visit www."), std::string::npos);

  editor.QueueMenuChoice({"Go Online...", std::string("Visit ") + "www.paperkitesounds.com"});
  editor.Click(kOptionsX, kOptionsY);
  ASSERT_EQ(editor.LinksOpened().size(), 1u);
}

}  // namespace
