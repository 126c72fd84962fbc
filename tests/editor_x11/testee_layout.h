// The editor the X11 tests drive: the snapshot test layout (knobs, fader,
// switch, pop-up switch, texts) with the first knob's value prompt on, and a
// menu button whose menu has a sub-menu. Built the same way inside the test
// plug-in module and on the headless surface the window is compared with.
#pragma once

class IGraphics;

namespace testee_layout {

// The menu button: a click runs "Alpha", "More" > {"Beta", "Gamma"}, "Ask",
// and the pick sets kMenuParam to (position in its own menu) / 2; "Ask"
// shows a Yes/No/Cancel box titled kAskCaption instead, and Yes sets the
// parameter to 1, No to 0, Cancel leaves it; "File" asks for a program file
// to open, starting in kFileFolder, and a chosen file sets the parameter to
// 0.5.
constexpr int kMenuButtonLeft = 200;
constexpr int kMenuButtonTop = 220;
constexpr int kMenuButtonRight = 260;
constexpr int kMenuButtonBottom = 240;
constexpr int kMenuParam = 1;
constexpr int kAskItem = 2;
constexpr const char* kAskCaption = "Vorn question";
constexpr int kFileItem = 3;
constexpr const char* kFileFolder = "/tmp/";

// Adds the layout to graphics (which must belong to a Vorn plug-in) and
// gives every control its parameter's present value.
void Build(IGraphics& graphics);

}  // namespace testee_layout
