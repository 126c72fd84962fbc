// Vorn's editor: the eight images, the shared panel, both views' controls
// with their places, the drawing order, and the switch between the views.
// The plug-in builds it once, before the editor is attached; the host opens
// and closes the window later without rebuilding anything.
//
// Threads: the editor's window thread (the plug-in's constructor counts).
#pragma once

#include <vector>

class EditorCommands;
class IControl;
class IGraphics;
class PluginBase;

class VornEditorLayout {
 public:
  static constexpr int kWidth = 832;
  static constexpr int kHeight = 376;
  // Image resource ids, in the order they are loaded.
  enum Image : int {
    kBackground = 101,
    kBackgroundTwo = 102,
    kFaderHandle = 103,
    kKnob = 104,
    kSmallKnob = 105,
    kButton = 106,
    kMidiLearn = 107,
    kMidiUnlearn = 108,
  };

  // Resizes the editor (which drops its controls), loads the images, creates
  // and attaches the shared panel, then view one's and view two's controls,
  // and shows view one.
  void Build(IGraphics& editor, PluginBase& plugin, EditorCommands& commands);
  // Shows the other view and pushes every parameter to the controls. Without
  // an editor it only flips which view is meant.
  void SwitchView(IGraphics* editor, PluginBase& plugin);

  bool IsSecondViewShown() const { return mSecondViewShown; }
  const std::vector<IControl*>& ViewOneControls() const { return mViewOne; }
  const std::vector<IControl*>& ViewTwoControls() const { return mViewTwo; }

 private:
  bool mSecondViewShown = false;
  std::vector<IControl*> mViewOne;  // not owned: the editor owns its controls
  std::vector<IControl*> mViewTwo;
  IControl* mBackgroundOne = nullptr;
  IControl* mBackgroundTwo = nullptr;
};
