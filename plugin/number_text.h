// Numbers as text, always with '.' as the decimal separator: hosts may set
// the process locale (LC_NUMERIC) to one with a decimal comma, and the C
// library's printf and strtod would follow it. These never read the locale.
#pragma once

#include <cstddef>
#include <string_view>

// Writes value with `decimals` digits after the point (0 to 17; rounded like
// printf's "%.*f") into text, truncated to size - 1 characters.
void FormatFixed(double value, int decimals, char* text, std::size_t size);

// Reads the whole of text as a decimal number: optional sign, digits with an
// optional fraction, optional exponent. False, value untouched, when text is
// anything else or the number is out of a double's range.
bool ParseDecimal(std::string_view text, double& value);
