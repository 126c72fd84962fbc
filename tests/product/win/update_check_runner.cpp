// The update check's cases as a Windows program, run under Wine: the check
// goes through the Internet functions to a loopback server. Prints one line
// per case and "update check: N passed, N failed"; exits non-zero on failure.
#include <cstdio>
#include <string>

#include "tests/product/update_check_cases.h"

int main() {
  int passed = 0;
  int failed = 0;
  auto report = [&](const std::string& what, const std::string& failure) {
    if (failure.empty()) {
      ++passed;
      std::printf("PASS %s\n", what.c_str());
    } else {
      ++failed;
      std::printf("FAIL %s: %s\n", what.c_str(), failure.c_str());
    }
  };
  for (const UpdateCheckCase& c : UpdateCheckCases()) report(c.what, RunUpdateCheckCase(c));
  report("request", CheckUpdateRequest());
  std::printf("update check: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
