#include "plugin/number_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <system_error>

namespace {

constexpr int kMaxDecimals = 17;
// The longest fixed text of a double: sign, 309 integer digits, point, decimals.
constexpr std::size_t kLongestFixed = 1 + 309 + 1 + kMaxDecimals;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void FormatFixed(double value, int decimals, char* text, std::size_t size) {
  if (size == 0) return;
  char buffer[kLongestFixed + 1];
  const auto result = std::to_chars(buffer, buffer + kLongestFixed, value, std::chars_format::fixed,
                                    std::clamp(decimals, 0, kMaxDecimals));
  const std::size_t length = result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - buffer) : 0;
  const std::size_t kept = std::min(length, size - 1);
  std::memcpy(text, buffer, kept);
  text[kept] = '\0';
}

bool ParseDecimal(std::string_view text, double& value) {
  // from_chars takes no '+' and does take "inf" and "nan": the first is
  // dropped here, the others refused.
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  const std::size_t sign = !plus && !text.empty() && text.front() == '-' ? 1 : 0;
  if (text.size() <= sign || !(IsDigit(text[sign]) || text[sign] == '.')) return false;
  double parsed = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  value = parsed;
  return true;
}
