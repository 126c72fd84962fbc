// Copies text into a fixed-size field, cutting it to fit and always ending
// it with a terminator. A null source copies as the empty text.
#pragma once

#include <cstddef>
#include <cstring>

inline void CopyTruncated(char* destination, const char* source, std::size_t size) {
  if (!destination || size == 0) return;
  const std::size_t length = source ? strnlen(source, size - 1) : 0;
  if (length) std::memcpy(destination, source, length);
  destination[length] = '\0';
}
