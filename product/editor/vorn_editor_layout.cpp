#include "product/editor/vorn_editor_layout.h"

#include "editor/ibitmap_control.h"
#include "editor/igraphics.h"
#include "editor/itext_control.h"
#include "plugin/plugin_base.h"
#include "product/editor/editor_commands.h"
#include "product/editor/ipk_fader_control.h"
#include "product/editor/ipk_knob_multi_control_text.h"
#include "product/editor/ipk_option_menu.h"
#include "product/editor/ipk_preset_menu.h"
#include "product/editor/ipk_switch_control.h"
#include "product/editor/ipk_switch_midi_learn.h"
#include "product/editor/ipk_switch_popup_control.h"
#include "product/editor/ipk_utility_kick.h"
#include "product/editor/vorn_editor_menus.h"
#include "vorn_version.h"

namespace {

struct ImageEntry {
  int id;
  const char* name;
  int frames;
  int width;  // of the whole strip, as the places below count on
  int height;
};

constexpr ImageEntry kImages[] = {
    {VornEditorLayout::kBackground, "resources/img/back.png", 1, 832, 376},
    {VornEditorLayout::kBackgroundTwo, "resources/img/back2.png", 1, 832, 376},
    {VornEditorLayout::kFaderHandle, "resources/img/handle.png", 1, 24, 16},
    {VornEditorLayout::kKnob, "resources/img/knob.png", 63, 48, 3024},
    {VornEditorLayout::kSmallKnob, "resources/img/smallknob.png", 63, 24, 1512},
    {VornEditorLayout::kButton, "resources/img/button.png", 2, 48, 40},
    {VornEditorLayout::kMidiLearn, IPKSwitchMidiLearn::kLearnImageName, 2, 66, 52},
    {VornEditorLayout::kMidiUnlearn, IPKSwitchMidiLearn::kUnlearnImageName, 2, 66, 52},
};

// An image that could not be loaded comes back as a tiny transparent
// stand-in; its controls keep the size the layout gives them, so that the
// editor still shows its texts and answers the mouse in the usual places.
// Drawing clips to the bitmap actually there.
IBitmapStrip WithLayoutSize(IBitmapStrip strip, const ImageEntry& image) {
  strip.width = image.width;
  strip.height = image.height;
  return strip;
}

enum Kind { kKnobControl, kSmallKnobControl, kSwitch, kPopUp, kFader };

struct Place {
  Kind kind;
  int param;
  int x;
  int y;  // unused for faders, whose track is fixed
};

constexpr Place kViewOne[] = {
    {kPopUp, 1, 16, 92},
    {kSwitch, 5, 16, 172},
    {kSmallKnobControl, 2, 28, 234},
    {kKnobControl, 3, 72, 80},
    {kKnobControl, 6, 72, 160},
    {kSwitch, 7, 72, 236},
    {kKnobControl, 8, 148, 80},
    {kKnobControl, 9, 148, 160},
    {kSwitch, 10, 148, 236},
    {kKnobControl, 12, 236, 80},
    {kKnobControl, 13, 236, 160},
    {kSwitch, 11, 236, 236},
    {kKnobControl, 14, 312, 80},
    {kKnobControl, 16, 380, 80},
    {kKnobControl, 15, 312, 160},
    {kKnobControl, 17, 380, 160},
    {kKnobControl, 21, 456, 80},
    {kKnobControl, 22, 456, 160},
    {kSwitch, 23, 456, 236},
    {kKnobControl, 20, 540, 80},
    {kPopUp, 19, 540, 172},
    {kKnobControl, 24, 622, 80},
    {kKnobControl, 25, 622, 160},
    {kKnobControl, 27, 690, 80},
    {kSwitch, 26, 690, 172},
    {kKnobControl, 0, 762, 80},
    {kSmallKnobControl, 18, 774, 172},
    {kSwitch, 28, 148, 322},
    {kSmallKnobControl, 29, 248, 322},
    {kSmallKnobControl, 30, 346, 322},
    {kSmallKnobControl, 31, 444, 322},
};

constexpr Place kViewTwo[] = {
    {kFader, 12, 24, 0},
    {kFader, 13, 80, 0},
    {kFader, 21, 136, 0},
    {kFader, 22, 192, 0},
    {kFader, 24, 248, 0},
    {kFader, 25, 304, 0},
    {kFader, 27, 360, 0},
    {kFader, 20, 416, 0},
    {kFader, 0, 472, 0},
    {kKnobControl, 6, 544, 68},
    {kKnobControl, 8, 616, 68},
    {kKnobControl, 14, 688, 68},
    {kKnobControl, 16, 760, 68},
    {kKnobControl, 3, 544, 154},
    {kKnobControl, 9, 616, 154},
    {kKnobControl, 15, 688, 154},
    {kKnobControl, 17, 760, 154},
    {kPopUp, 1, 16, 264},
    {kSwitch, 5, 72, 264},
    {kSwitch, 7, 128, 264},
    {kSwitch, 10, 184, 264},
    {kSwitch, 11, 240, 264},
    {kSwitch, 23, 296, 264},
    {kSwitch, 26, 352, 264},
    {kPopUp, 19, 408, 264},
    {kSwitch, 28, 466, 264},
    {kSmallKnobControl, 2, 20, 326},
    {kSmallKnobControl, 18, 124, 326},
    {kSmallKnobControl, 29, 228, 326},
    {kSmallKnobControl, 30, 332, 326},
    {kSmallKnobControl, 31, 436, 326},
};

constexpr IBox kSwitchViewArea{320, 236, 416, 276};
constexpr IBox kPreviousProgramArea{536, 244, 556, 268};
constexpr IBox kNextProgramArea{584, 244, 604, 268};
constexpr IBox kVersionBox{594, 281, 690, 295};
constexpr int kLearnX = 680;
constexpr int kLearnY = 275;

struct Strips {
  IBitmapStrip background, backgroundTwo, handle, knob, smallKnob, button, learn;
};

ITextStyle VersionStyle() {
  ITextStyle style("Arial", 14, IColour{255, 128, 128, 128}, kAlignLeft, kTextNormal, kQualityDefault);
  style.entryBackground = IColour{255, 255, 255, 255};
  style.entryText = IColour{255, 0, 0, 0};
  return style;
}

IControl* MakeControl(const Place& place, PluginBase& plugin, const Strips& strips) {
  switch (place.kind) {
    case kKnobControl: return new IPKKnobMultiControlText(&plugin, place.x, place.y, place.param, strips.knob);
    case kSmallKnobControl:
      return new IPKKnobMultiControlText(&plugin, place.x, place.y, place.param, strips.smallKnob);
    case kSwitch: return new IPKSwitchControl(&plugin, place.x, place.y, place.param, strips.button);
    case kPopUp: return new IPKSwitchPopUpControl(&plugin, place.x, place.y, place.param, strips.button);
    case kFader: return new IPKFaderControl(&plugin, place.x, place.param, strips.handle);
  }
  return nullptr;
}

}  // namespace

void VornEditorLayout::Build(IGraphics& editor, PluginBase& plugin, EditorCommands& commands) {
  editor.Resize(kWidth, kHeight);
  mViewOne.clear();
  mViewTwo.clear();

  IBitmapStrip loaded[std::size(kImages)];
  for (std::size_t i = 0; i < std::size(kImages); ++i)
    loaded[i] = WithLayoutSize(editor.LoadBitmapById(kImages[i].id, kImages[i].name, kImages[i].frames), kImages[i]);
  const Strips strips{loaded[0], loaded[1], loaded[2], loaded[3], loaded[4], loaded[5], loaded[6]};
  editor.SetMouseOverHandling(false);

  mBackgroundOne = new IBitmapControl(&plugin, 0, 0, -1, strips.background);
  editor.AttachControl(mBackgroundOne);
  mBackgroundTwo = new IBitmapControl(&plugin, 0, 0, -1, strips.backgroundTwo);
  editor.AttachControl(mBackgroundTwo);
  editor.AttachControl(
      new IPKPresetMenu(&plugin, &commands, VornEditorMenus::kProgramNumberBox, VornEditorMenus::kProgramNameBox));
  editor.AttachControl(new IPKUtilityKick(&plugin, &commands, kPreviousProgramArea, IPKUtilityKick::kPreviousProgram));
  editor.AttachControl(new IPKUtilityKick(&plugin, &commands, kNextProgramArea, IPKUtilityKick::kNextProgram));
  editor.AttachControl(new IPKOptionMenu(&plugin, &commands, VornEditorMenus::kOptionsArea));
  editor.AttachControl(new ITextControl(&plugin, kVersionBox, VersionStyle(), kVornVersionText));
  commands.ArmMidiLearn(false, false);
  auto* learnSwitch = new IPKSwitchMidiLearn(&plugin, &commands, kLearnX, kLearnY, strips.learn);
  editor.AttachControl(learnSwitch);
  commands.SetLearnSwitch(learnSwitch);

  mViewOne.push_back(new IPKUtilityKick(&plugin, &commands, kSwitchViewArea, IPKUtilityKick::kSwitchView));
  for (const Place& place : kViewOne) mViewOne.push_back(MakeControl(place, plugin, strips));
  for (const Place& place : kViewTwo) mViewTwo.push_back(MakeControl(place, plugin, strips));
  for (IControl* control : mViewOne) editor.AttachControl(control);
  for (IControl* control : mViewTwo) editor.AttachControl(control);

  mSecondViewShown = true;
  SwitchView(&editor, plugin);
}

void VornEditorLayout::SwitchView(IGraphics* editor, PluginBase& plugin) {
  mSecondViewShown = !mSecondViewShown;
  if (!editor || !mBackgroundOne) return;
  mBackgroundOne->Hide(mSecondViewShown);
  mBackgroundTwo->Hide(!mSecondViewShown);
  for (IControl* control : mViewOne) control->Hide(mSecondViewShown);
  for (IControl* control : mViewTwo) control->Hide(!mSecondViewShown);
  plugin.RefreshEditorControls();
}
