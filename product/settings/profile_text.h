// How settings texts and server answers are read as values, the same way in
// every locale.
#pragma once

#include <string_view>

// The leading decimal integer: blanks skipped, an optional sign, then digits
// up to the first other character; 0 when there are none. Saturates at the
// int range.
int LeadingInteger(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
