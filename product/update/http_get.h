// One HTTP GET over plain HTTP that answers the body of the response, bounded
// in time and size. One implementation per platform
// (product/platform/http_get_<platform>.cpp).
#pragma once

#include <cstddef>
#include <string>

struct HttpGetRequest {
  std::string host;
  int port = 80;
  std::string object;  // path and query, without the leading "/"
  std::string userAgent;
  // Bounds the connection and every wait for data.
  int timeoutMilliseconds = 5000;
  std::size_t bodyLimit = 4096;
};

enum class HttpGetResult {
  kBody,      // body holds the whole body (possibly empty)
  kNoAnswer,  // no connection, a failed request, a time-out or a broken answer
  kTooLong,   // the body went past the limit
};

// Blocks the calling thread until the answer is complete or a bound is hit.
HttpGetResult HttpGet(const HttpGetRequest& request, std::string& body);
