// A four-character code such as a plug-in ID as readable text: 'vorn', or
// the hexadecimal value when the bytes are not printable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace render {

inline std::string FourCharText(std::int32_t code) {
  const auto bits = static_cast<std::uint32_t>(code);
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((bits >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(bits));
      return hex;
    }
    text += c;
  }
  return text + "'";
}

}  // namespace render
