#include "raster/px_utf8.h"

namespace {

constexpr int kBlank = 32;

bool IsContinuation(const unsigned char* bytes, int index, int available) {
  return index < available && (bytes[index] & 0xC0) == 0x80;
}

}  // namespace

int DecodeUtf8Char(const char* text, int available, int* code) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const int lead = bytes[0];
  if (lead >= 0xC2 && lead <= 0xDF && IsContinuation(bytes, 1, available)) {
    *code = ((lead & 0x1F) << 6) | (bytes[1] & 0x3F);
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && IsContinuation(bytes, 1, available) && IsContinuation(bytes, 2, available)) {
    *code = ((lead & 0x0F) << 12) | ((bytes[1] & 0x3F) << 6) | (bytes[2] & 0x3F);
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && IsContinuation(bytes, 1, available) && IsContinuation(bytes, 2, available) &&
      IsContinuation(bytes, 3, available)) {
    *code = kBlank;
    return 4;
  }
  *code = lead;
  return 1;
}
