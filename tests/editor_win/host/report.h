// The host's output: one line per check ("PASS name: detail" or "FAIL ..."),
// figures, and the count at the end.
#pragma once

#include <string>

class Report {
 public:
  explicit Report(std::string prefix) : mPrefix(std::move(prefix)) {}
  // Answers ok.
  bool Check(const std::string& name, bool ok, const std::string& detail);
  void Figure(const std::string& name, const std::string& value);
  int Failed() const { return mFailed; }
  int Passed() const { return mPassed; }

 private:
  std::string mPrefix;
  int mPassed = 0;
  int mFailed = 0;
};
