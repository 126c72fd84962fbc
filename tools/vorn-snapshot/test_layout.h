// A small editor layout of our own, drawn from artwork made in code: a
// background, six knobs with a 63-frame strip, a fader, a two-frame switch,
// a three-frame pop-up switch, a title and a value display. vorn-snapshot
// draws it on an editor that has no controls yet, and the editor tests
// photograph it. Controls are bound by parameter index, so any plug-in with
// at least ten parameters can carry it.
#pragma once

class IGraphics;

namespace test_layout {

// Image identifiers of the generated artwork (registered as PNG resources).
enum ImageId : int {
  kBackgroundId = 9001,
  kKnobId = 9002,
  kHandleId = 9003,
  kSwitchId = 9004,
  kModeSwitchId = 9005,
};
constexpr int kKnobFrames = 63;
constexpr int kKnobCount = 6;

// Parameters the controls are bound to.
constexpr int kKnobParams[kKnobCount] = {0, 3, 4, 5, 6, 7};
constexpr int kFaderParam = 8;
constexpr int kSwitchParam = 9;
// Shown by a pop-up switch: an enumeration of three values prompts a menu.
constexpr int kModeParam = 2;

// Encodes the artwork and registers it under the ids above (once per process).
void RegisterArtwork();

// Resizes the editor to 832 x 376 and attaches the layout; the control list
// order is: background, knobs, knob value display, fader, switch, pop-up
// switch, title.
void Build(IGraphics& graphics);

}  // namespace test_layout
