// The maker's update server and web site, as the build configures them
// (CMake: VORN_UPDATE_HOST, VORN_MAKER_DOMAIN, VORN_MAKER_WEB_ADDRESS,
// VORN_DOWNLOAD_PAGE, VORN_MAKER_WEB_PAGE).
#pragma once

#include <string>

struct UpdateServer {
  std::string host;
  int port = 80;
  std::string object;        // path and query of the version request
  std::string domain;        // named in the error messages
  std::string webAddress;    // named in the new-version question
  std::string downloadPage;  // opened when the user wants the new version
  // Bounds the connection and every wait for the answer.
  int timeoutMilliseconds = 5000;
};

// What the shipped library always asks.
UpdateServer ConfiguredUpdateServer();
// The maker's web page ("Visit ..." in the option menu) and its domain.
std::string MakerWebPage();
std::string MakerDomain();
