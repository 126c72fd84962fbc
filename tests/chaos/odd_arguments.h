// Arguments hosts get wrong, shared by the chaos host's threads: indices out
// of range, values that are no number, texts that are no value; and the
// check of a text the plug-in wrote.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "tests/chaos/chaos_random.h"

inline constexpr float kInfinity = std::numeric_limits<float>::infinity();
inline constexpr float kOddValues[] = {std::numeric_limits<float>::quiet_NaN(),
                                       kInfinity,
                                       -kInfinity,
                                       -1.0f,
                                       -0.0f,
                                       0.0f,
                                       1.0f,
                                       1.0000001f,
                                       2.0f,
                                       1e30f,
                                       -1e30f,
                                       1e-40f,
                                       0.5f};
inline constexpr const char* kValueTexts[] = {"0",
                                              "1",
                                              "0.5",
                                              "-3",
                                              "1e9",
                                              "nan",
                                              "inf",
                                              "-inf",
                                              "",
                                              "abc",
                                              "12,5",
                                              "  7 ",
                                              "100000000000000000000000000000000000000000",
                                              "0x10"};
// Texts the plug-in writes go into buffers this large; the bytes after its
// terminator must stay as they were.
inline constexpr std::size_t kTextBuffer = 256;
inline constexpr char kTextFill = '\x7f';

inline int OddIndex(ChaosRandom& random, int count) {
  switch (random.Below(8)) {
    case 0: return -1;
    case 1: return count;
    case 2:
      return random.Chance(500) ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    default: return random.Below(count);
  }
}

// What is wrong with a text the plug-in wrote into a buffer of kTextBuffer
// bytes where it may use `limit` (0: no limit) bytes; empty when nothing is.
inline std::string TextFault(const char* text, std::size_t limit) {
  const void* end = std::memchr(text, '\0', kTextBuffer);
  if (end == nullptr) return " wrote a text without its terminator";
  const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - text);
  if (length >= limit && limit > 0) {
    return " wrote " + std::to_string(length) + " characters into a buffer of " + std::to_string(limit);
  }
  return {};
}
