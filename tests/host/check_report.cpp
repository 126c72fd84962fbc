#include "tests/host/check_report.h"

#include <cmath>
#include <cstdio>

#include "tests/host/crash_report.h"

void CheckReport::BeginArea(const char* area) {
  area_ = area;
  Step("start of area");
}

void CheckReport::Step(const std::string& step) {
  NoteCrashContext(("[" + area_ + "] " + step).c_str(), passed_, failed_);
}

void CheckReport::Check(bool ok, const std::string& what, const std::string& expected, const std::string& got) {
  if (ok) {
    ++passed_;
  } else {
    ++failed_;
    std::printf("FAIL [%s] %s: expected %s, got %s\n", area_.c_str(), what.c_str(), expected.c_str(), got.c_str());
    std::fflush(stdout);
  }
  NoteCrashContext(("[" + area_ + "] after: " + what).c_str(), passed_, failed_);
}

void CheckReport::Equal(const std::string& what, std::int64_t expected, std::int64_t got) {
  Check(expected == got, what, std::to_string(expected), std::to_string(got));
}

void CheckReport::Equal(const std::string& what, const std::string& expected, const std::string& got) {
  Check(expected == got, what, Quoted(expected), Quoted(got));
}

void CheckReport::Near(const std::string& what, double expected, double got, double tolerance) {
  bool ok = std::isfinite(got) && std::fabs(expected - got) <= tolerance;
  Check(ok, what, Number(expected) + " (within " + Number(tolerance) + ")", Number(got));
}

void CheckReport::True(bool ok, const std::string& what, const std::string& got) { Check(ok, what, "true", got); }

int CheckReport::Finish() const {
  std::printf("%d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
  return failed_ == 0 ? 0 : 1;
}

std::string Hex(std::uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof(text), "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.9g", value);
  return text;
}
