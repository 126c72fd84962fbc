// The command line of vorn-snapshot.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct SnapshotOptions {
  std::string output;
  std::string program;  // a number from 0 or a program name; "" keeps the first
  int view = 1;
  std::vector<std::pair<int, double>> values;  // parameter index, normalized value
  bool help = false;
};

// False with a message in error when the arguments are not understood.
bool ParseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error);
const char* SnapshotUsage();
