// The tally of the checker: one line per failed check, saying what was
// expected and what came back, and the closing "N passed, N failed" line.
#pragma once

#include <cstdint>
#include <string>

class CheckReport {
 public:
  // Names the area the following checks belong to; it prefixes their lines.
  void BeginArea(const char* area);
  // Records the step about to run, so that a crash inside it names it.
  void Step(const std::string& step);

  // Counts one check; a failure prints its line.
  void Check(bool ok, const std::string& what, const std::string& expected, const std::string& got);
  void Equal(const std::string& what, std::int64_t expected, std::int64_t got);
  void Equal(const std::string& what, const std::string& expected, const std::string& got);
  void Near(const std::string& what, double expected, double got, double tolerance);
  void True(bool ok, const std::string& what, const std::string& got = "false");

  int Passed() const { return passed_; }
  int Failed() const { return failed_; }
  // Prints the closing line; answers the exit status (0 only without failures).
  int Finish() const;

 private:
  std::string area_ = "setup";
  int passed_ = 0;
  int failed_ = 0;
};

// Texts for expected/got columns.
std::string Hex(std::uint64_t value);
std::string Quoted(const std::string& text);
std::string Number(double value);
