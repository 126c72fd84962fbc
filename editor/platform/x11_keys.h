// Key translation of the X11 window layer: from the keysym of a key press to
// the Windows virtual-key code the core's table is written for.
#pragma once

#include <X11/Xlib.h>

// The virtual-key code of keysym: space, the four arrows, digits '0'..'9' and
// letters (either case, as 'A'..'Z'); 0 for every other key, which the
// editor leaves to the host. X11 has no virtual keys, so keypad and function
// keys, which on Windows fall into the 97..122 row of the table, stay
// unmapped here.
int X11VirtualKey(KeySym keysym);

// The editor key code (IKeyCode) of a key event, or kKeyUnmapped.
int X11EditorKeyCode(XKeyEvent& event);
