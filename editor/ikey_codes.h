// The key codes the editor's OnKeyDown receives, and the mapping from the
// virtual key codes window systems report (Windows VK_ values; other window
// layers translate to these first).
#pragma once

enum IKeyCode : int {
  kKeySpace = 0,
  kKeyUp = 1,
  kKeyDown = 2,
  kKeyLeft = 3,
  kKeyRight = 4,
  kKeyDigit0 = 5,    // ... kKeyDigit0 + 9 for '9'
  kKeyLetterA = 15,  // ... kKeyLetterA + 25 for 'Z'
  kKeyUnmapped = -1,
};

// Virtual key codes that have an editor key code.
enum IVirtualKey : int {
  kVirtualSpace = 0x20,
  kVirtualLeft = 0x25,
  kVirtualUp = 0x26,
  kVirtualRight = 0x27,
  kVirtualDown = 0x28,
};

// The editor key code of a virtual key code, or kKeyUnmapped: space and the
// arrows; '0'..'9' (48..57); 'A'..'Z' (65..90) and 97..122.
int IKeyCodeFromVirtualKey(int virtualKey);
