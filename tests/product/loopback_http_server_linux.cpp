#include "tests/product/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kPollMilliseconds = 50;
// The endless body gives up after this much even if the client stays.
constexpr std::size_t kEndlessLimit = 64 << 20;

int ListenOnLoopback(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t size = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool Readable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return poll(&entry, 1, kPollMilliseconds) > 0;
}

void SendText(int fd, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Behaviour behaviour, std::string body)
    : mBehaviour(behaviour), mBody(std::move(body)) {
  mListener = ListenOnLoopback(mPort);
  if (mListener >= 0) mThread = std::thread(&LoopbackHttpServer::Serve, this);
}

LoopbackHttpServer::~LoopbackHttpServer() {
  mStop = true;
  if (mThread.joinable()) mThread.join();
  if (mListener >= 0) close(static_cast<int>(mListener));
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mLock);
  return mRequests;
}

int LoopbackHttpServer::ClosedPort() {
  int port = 0;
  const int fd = ListenOnLoopback(port);
  if (fd >= 0) close(fd);
  return port;
}

void LoopbackHttpServer::Serve() {
  while (!mStop) {
    if (!Readable(static_cast<int>(mListener))) continue;
    const int client = accept(static_cast<int>(mListener), nullptr, nullptr);
    if (client < 0) continue;
    Answer(client);
    close(client);
  }
}

void LoopbackHttpServer::Answer(std::intptr_t socket) {
  const int client = static_cast<int>(socket);
  std::string request;
  char buffer[1024];
  while (!mStop && request.find("\r\n\r\n") == std::string::npos) {
    if (!Readable(client)) continue;
    const ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard<std::mutex> lock(mLock);
    mRequests.push_back(request);
  }
  const std::string headers = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
  switch (mBehaviour) {
    case Behaviour::kAnswer: SendText(client, headers + mBody); break;
    case Behaviour::kSilent:
      while (!mStop) {
        if (Readable(client) && recv(client, buffer, sizeof buffer, 0) <= 0) return;
      }
      break;
    case Behaviour::kEndlessBody: {
      SendText(client, headers);
      const std::string chunk(1024, '7');
      for (std::size_t sent = 0; !mStop && sent < kEndlessLimit;) {
        pollfd entry{client, POLLOUT, 0};
        if (poll(&entry, 1, kPollMilliseconds) <= 0) continue;
        const ssize_t n = send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EAGAIN) break;
        if (n > 0) sent += static_cast<std::size_t>(n);
      }
      break;
    }
  }
}
