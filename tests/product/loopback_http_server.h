// A one-connection-at-a-time HTTP server on 127.0.0.1 for tests, on a port
// the system picks. It records each request and answers it the way the test
// chose. It stops by itself when destroyed; every wait in it is bounded.
// One implementation per platform: loopback_http_server_<platform>.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
 public:
  enum class Behaviour {
    kAnswer,       // sends the status line, headers and the body, then closes
    kSilent,       // reads the request and never answers
    kEndlessBody,  // sends headers, then body bytes until the client leaves
  };

  LoopbackHttpServer(Behaviour behaviour, std::string body);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return mPort; }
  std::vector<std::string> Requests() const;

  // A loopback port on which nothing listens (connections are refused).
  static int ClosedPort();

 private:
  void Serve();
  void Answer(std::intptr_t client);

  Behaviour mBehaviour;
  std::string mBody;
  std::intptr_t mListener = -1;
  int mPort = 0;
  std::atomic<bool> mStop{false};
  mutable std::mutex mLock;
  std::vector<std::string> mRequests;
  std::thread mThread;
};
