// The layout the Windows editor checks drive: a few controls that draw with
// plain fills (so the Windows window and the headless surface compose the
// same pixels without any artwork) and two texts (drawn by GDI on Windows and
// by FreeType elsewhere, compared with a tolerance). The same layout is built
// into the check plug-in the Windows host loads and into the program that
// writes the reference images on Linux.
#pragma once

#include "editor/ibox.h"

class IGraphics;

namespace editor_check {

// A vertical bar knob: drag, wheel, arrow keys, right-click text entry. Its
// box holds the bar and, below it, the parameter's display text.
constexpr int kKnobParam = 0;  // Volume, 0..100, continuous
constexpr IBox kKnobBox{80, 80, 160, 244};
constexpr IBox kKnobBarBox{96, 80, 144, 220};
constexpr IBox kKnobTextBox{80, 224, 160, 244};
// A button whose menu has the choices in a sub-menu (numbered "%02d: %s").
constexpr int kMenuParam = 19;  // LFO Wave: Triangle, Square, S/H
constexpr IBox kMenuBox{240, 80, 420, 112};
// The items of the button's menu: the sub-menu holds the parameter's texts.
constexpr int kMenuSubmenuItem = 2;
// A button that saves the bank through the save dialog and loads it back
// through the open dialog.
constexpr IBox kBankBox{480, 80, 600, 112};
// A button that grows the editor by kGrowth (the layout is then gone, as the
// core's Resize destroys every control and this plug-in rebuilds none).
constexpr IBox kGrowBox{660, 80, 780, 112};
constexpr int kGrowWidth = 40;
constexpr int kGrowHeight = 24;
constexpr IBox kTitleBox{16, 8, 400, 40};
constexpr char kTitle[] = "Vorn editor check";

// Resizes the editor to its default size and attaches the layout.
void Build(IGraphics& graphics);

}  // namespace editor_check
