#include "editor/platform/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "editor/ikey_codes.h"

int X11VirtualKey(KeySym keysym) {
  switch (keysym) {
    case XK_space: return kVirtualSpace;
    case XK_Left: return kVirtualLeft;
    case XK_Up: return kVirtualUp;
    case XK_Right: return kVirtualRight;
    case XK_Down: return kVirtualDown;
    default: break;
  }
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>('0' + (keysym - XK_0));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>('A' + (keysym - XK_A));
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>('A' + (keysym - XK_a));
  return 0;
}

int X11EditorKeyCode(XKeyEvent& event) {
  // The unshifted keysym: Shift+1 is the digit key, as a virtual key is.
  const KeySym keysym = XLookupKeysym(&event, 0);
  const int virtualKey = X11VirtualKey(keysym);
  return virtualKey ? IKeyCodeFromVirtualKey(virtualKey) : kKeyUnmapped;
}
