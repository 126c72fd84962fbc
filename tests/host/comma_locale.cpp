#include "tests/host/comma_locale.h"

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

// The names the C libraries know a German locale by: glibc, then the
// Windows runtime's long and short forms.
const char* const kCandidates[] = {"de_DE.UTF-8", "German_Germany.1252", "de-DE"};

bool WritesDecimalComma() {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 0.5);
  return std::strcmp(text, "0,5") == 0;
}

}  // namespace

ScopedCommaLocale::ScopedCommaLocale() {
  for (const char* candidate : kCandidates) {
    if (std::setlocale(LC_ALL, candidate) && WritesDecimalComma()) {
      name_ = candidate;
      return;
    }
  }
  std::setlocale(LC_ALL, "C");
}

ScopedCommaLocale::~ScopedCommaLocale() { std::setlocale(LC_ALL, "C"); }
