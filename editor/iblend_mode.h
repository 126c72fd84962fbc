// How a control's bitmap is combined with what lies below it, and with what
// weight (1.0 = full).
#pragma once

enum IBlendMethod : int {
  kBlendAlpha = 0,  // blend with the source's alpha
  kBlendCopy = 1,   // opaque copy
  kBlendAdd = 2,
  kBlendDodge = 3,  // colour dodge
};

struct IBlendMode {
  int method = kBlendAlpha;
  float weight = 1.0f;
};
