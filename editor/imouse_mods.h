// The mouse buttons that are down and the modifier keys held with a mouse or
// wheel event.
#pragma once

struct IMouseMods {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};
