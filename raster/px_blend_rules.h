// Integer per-channel blend rules shared by blits, fills and glyph
// composites. s is the source channel (0..255, or up to 256 where a weight
// stands in for it), d the destination channel 0..255, ia the weight 0..256
// (256 = full). Division truncates toward zero, as the rules are defined.
#pragma once

#include <cstdint>

namespace px_blend {

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

struct CopyRule {
  static int Channel(int s, int d, int ia) { return s + (d - s) * (256 - ia) / 256; }
};
struct AddRule {
  static int Channel(int s, int d, int ia) { return Clamp255(d + s * ia / 256); }
};
// Colour dodge: d / (1 - t), where a full source saturates every lit channel.
struct DodgeRule {
  static int Channel(int s, int d, int ia) {
    const int t = s * ia / 256;
    if (t > 254) return Clamp255(d * 256);
    return Clamp255(d * 256 / (256 - t));
  }
};
struct MultiplyRule {
  static int Channel(int s, int d, int ia) { return (((ia & 0xFFFFFF) * (s - 256) + 65536) * d) >> 16; }
};
struct OverlayRule {
  static int Channel(int s, int d, int ia) {
    const int u = s * ia + (256 - ia) * 128;
    return Clamp255(((((32768 - u) * d) / 256) + u) * d >> 15);
  }
};

inline int Byte(uint32_t pixel, int index) { return static_cast<int>((pixel >> (8 * index)) & 0xFF); }

inline uint32_t Pack(int b, int g, int r, int a) {
  return static_cast<uint32_t>(b & 0xFF) | static_cast<uint32_t>(g & 0xFF) << 8 |
         static_cast<uint32_t>(r & 0xFF) << 16 | static_cast<uint32_t>(a & 0xFF) << 24;
}

// Applies Rule to the four bytes of d with source channels sb, sg, sr, sa.
template <class Rule>
inline uint32_t BlendPixel(int sb, int sg, int sr, int sa, uint32_t d, int ia) {
  return Pack(Rule::Channel(sb, Byte(d, 0), ia), Rule::Channel(sg, Byte(d, 1), ia), Rule::Channel(sr, Byte(d, 2), ia),
              Rule::Channel(sa, Byte(d, 3), ia));
}

template <class Rule>
inline uint32_t BlendPixel(uint32_t s, uint32_t d, int ia) {
  return BlendPixel<Rule>(Byte(s, 0), Byte(s, 1), Byte(s, 2), Byte(s, 3), d, ia);
}

// Shifts the hue, saturation and value of d by the source channels sr, sg,
// sb (128 = no change) with weight ia; the result carries alpha.
uint32_t HsvAdjustPixel(int sr, int sg, int sb, uint32_t d, int ia, int alpha);

// The integer weight of a float weight: (int)(alpha * 256), limited to
// 0..256 so that out-of-range or NaN weights cannot push a channel past a byte.
inline int WeightOf(float alpha) {
  if (!(alpha > 0.0f)) return 0;
  if (alpha >= 1.0f) return 256;
  return static_cast<int>(alpha * 256.0f);
}

}  // namespace px_blend
