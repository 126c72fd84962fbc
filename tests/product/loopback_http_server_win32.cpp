#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/product/loopback_http_server.h"

namespace {

constexpr long kWaitMicroseconds = 50000;
// The endless body gives up after this much even if the client stays.
constexpr std::size_t kEndlessLimit = 64 << 20;

struct WinsockUser {
  WinsockUser() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUser() { WSACleanup(); }
};

void UseWinsock() { static WinsockUser user; }

SOCKET ListenOnLoopback(int& port) {
  UseWinsock();
  const SOCKET fd = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int size = sizeof address;
  if (fd == INVALID_SOCKET || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 4) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (fd != INVALID_SOCKET) closesocket(fd);
    return INVALID_SOCKET;
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool Ready(SOCKET fd, bool forWriting) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(fd, &set);
  timeval wait{0, kWaitMicroseconds};
  return select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr, nullptr, &wait) > 0;
}

bool SendText(SOCKET fd, const char* data, std::size_t size) {
  std::size_t sent = 0;
  while (sent < size) {
    const int n = send(fd, data + sent, static_cast<int>(size - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Behaviour behaviour, std::string body)
    : mBehaviour(behaviour), mBody(std::move(body)) {
  const SOCKET listener = ListenOnLoopback(mPort);
  if (listener == INVALID_SOCKET) return;
  mListener = static_cast<std::intptr_t>(listener);
  mThread = std::thread(&LoopbackHttpServer::Serve, this);
}

LoopbackHttpServer::~LoopbackHttpServer() {
  mStop = true;
  if (mThread.joinable()) mThread.join();
  if (mListener != -1) closesocket(static_cast<SOCKET>(mListener));
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mLock);
  return mRequests;
}

int LoopbackHttpServer::ClosedPort() {
  int port = 0;
  const SOCKET fd = ListenOnLoopback(port);
  if (fd != INVALID_SOCKET) closesocket(fd);
  return port;
}

void LoopbackHttpServer::Serve() {
  const SOCKET listener = static_cast<SOCKET>(mListener);
  while (!mStop) {
    if (!Ready(listener, false)) continue;
    const SOCKET client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(static_cast<std::intptr_t>(client));
    closesocket(client);
  }
}

void LoopbackHttpServer::Answer(std::intptr_t socket) {
  const SOCKET client = static_cast<SOCKET>(socket);
  std::string request;
  char buffer[1024];
  while (!mStop && request.find("\r\n\r\n") == std::string::npos) {
    if (!Ready(client, false)) continue;
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mLock);
    mRequests.push_back(request);
  }
  const std::string headers = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
  switch (mBehaviour) {
    case Behaviour::kAnswer: {
      const std::string answer = headers + mBody;
      SendText(client, answer.data(), answer.size());
      break;
    }
    case Behaviour::kSilent:
      while (!mStop) {
        if (Ready(client, false) && recv(client, buffer, sizeof buffer, 0) <= 0) return;
      }
      break;
    case Behaviour::kEndlessBody: {
      if (!SendText(client, headers.data(), headers.size())) return;
      const std::string chunk(1024, '7');
      std::size_t sent = 0;
      while (!mStop && sent < kEndlessLimit) {
        if (!Ready(client, true)) continue;
        if (!SendText(client, chunk.data(), chunk.size())) break;
        sent += chunk.size();
      }
      break;
    }
  }
}
