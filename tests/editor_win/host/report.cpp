#include "tests/editor_win/host/report.h"

#include <cstdio>

bool Report::Check(const std::string& name, bool ok, const std::string& detail) {
  std::printf("%s %s %s: %s\n", ok ? "PASS" : "FAIL", mPrefix.c_str(), name.c_str(), detail.c_str());
  std::fflush(stdout);
  (ok ? mPassed : mFailed)++;
  return ok;
}

void Report::Figure(const std::string& name, const std::string& value) {
  std::printf("FIGURE %s %s: %s\n", mPrefix.c_str(), name.c_str(), value.c_str());
  std::fflush(stdout);
}
