// The MIDI learn switch: a left click arms or disarms learning; a right click
// while it is off swaps between learning and unlearning, and with it the
// strip the switch shows (LEARN or UNLEARN).
#pragma once

#include "editor/iswitch_control.h"

class EditorCommands;

class IPKSwitchMidiLearn : public ISwitchControl {
 public:
  static constexpr int kCommand = -39;
  static constexpr int kLearnImage = 107;
  static constexpr int kUnlearnImage = 108;
  static constexpr const char* kLearnImageName = "resources/img/midilearn.png";
  static constexpr const char* kUnlearnImageName = "resources/img/midiunlearn.png";

  // Starts in learn mode with learnStrip (two frames: off, on).
  IPKSwitchMidiLearn(PluginBase* plugin, EditorCommands* commands, int x, int y, const IBitmapStrip& learnStrip,
                     const IBlendMode& blend = {});

  void OnMouseDown(int x, int y, const IMouseMods& mods) override;
  // The same as a click, learn fields included (the plain switch's
  // double-click would step the value without arming).
  void OnMouseDblClick(int x, int y, const IMouseMods& mods) override { OnMouseDown(x, y, mods); }
  bool IsLearnMode() const { return mLearnMode; }

 private:
  EditorCommands* mCommands;
  bool mLearnMode = true;
};
