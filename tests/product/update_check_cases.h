// The update check's cases against a loopback server, shared by the Linux
// test program and the Windows runner (which uses the Internet functions
// under Wine).
#pragma once

#include <string>
#include <vector>

#include "tests/product/loopback_http_server.h"

struct UpdateCheckCase {
  enum class Server { kAnswers, kSilent, kEndless, kRefuses };
  const char* what;
  Server server;
  std::string body;
  int answer;  // queued answer to the message box, 0 for none
  int result;
  std::string text;
  std::string caption;
  int type;
  std::string linkOpened;  // empty: none
};

std::vector<UpdateCheckCase> UpdateCheckCases();
// Runs one case; "" when everything was as expected, else what differed.
std::string RunUpdateCheckCase(const UpdateCheckCase& c);
// The request the server saw; "" when it was the expected one.
std::string CheckUpdateRequest();
