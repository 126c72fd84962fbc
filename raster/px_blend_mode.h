// The blend mode word taken by PX_BlitRegion, PX_FillRegion and the font
// combine mode. The low byte selects the operation; kBlitUseAlpha asks that
// the source's own alpha weight each pixel; other bits are ignored.
#pragma once

enum PX_BlendMode : int {
  kBlitCopy = 0,
  kBlitAdd = 1,
  kBlitDodge = 2,
  kBlitMultiply = 3,
  kBlitOverlay = 4,
  kBlitHsvAdjust = 5,
  // Blit only: 0xF0..0xFF copy one byte channel; bits 0-1 name the source
  // byte, bits 2-3 the destination byte (0 = B, 1 = G, 2 = R, 3 = A).
  kBlitChannelCopy = 0xF0,
  kBlitUseAlpha = 0x10000,
};

constexpr int kBlitOperationMask = 0xFF;
