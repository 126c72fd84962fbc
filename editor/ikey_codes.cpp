#include "editor/ikey_codes.h"

int IKeyCodeFromVirtualKey(int virtualKey) {
  switch (virtualKey) {
    case kVirtualSpace: return kKeySpace;
    case kVirtualUp: return kKeyUp;
    case kVirtualDown: return kKeyDown;
    case kVirtualLeft: return kKeyLeft;
    case kVirtualRight: return kKeyRight;
    default: break;
  }
  if (virtualKey >= '0' && virtualKey <= '9') return kKeyDigit0 + (virtualKey - '0');
  if (virtualKey >= 'A' && virtualKey <= 'Z') return kKeyLetterA + (virtualKey - 'A');
  if (virtualKey >= 'a' && virtualKey <= 'z') return kKeyLetterA + (virtualKey - 'a');
  return kKeyUnmapped;
}
