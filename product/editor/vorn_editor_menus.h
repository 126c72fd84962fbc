// Where Vorn's editor has its program menu (the number, and the name one
// clicks to rename the program) and its option menu. The layout places them
// here; hosts that drive the editor blindly keep off them, since the option
// menu leads to file dialogs and the maker's web page.
#pragma once

#include "editor/ibox.h"

struct VornEditorMenus {
  static constexpr IBox kProgramNumberBox{558, 248, 582, 268};
  static constexpr IBox kProgramNameBox{606, 248, 816, 268};
  static constexpr IBox kOptionsArea{752, 276, 816, 300};
};
