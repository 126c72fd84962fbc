// A small HTTP/1.0 client over sockets: non-blocking connect and poll, so
// that no step waits past the request's time-out. (Name resolution is the
// system resolver's, with its own bounds.) HTTP/1.0 keeps the answer plain:
// the server sends the body unchunked and closes the connection at its end.
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "product/update/http_get.h"

namespace {

using Clock = std::chrono::steady_clock;

// The status line and headers a server may add before the body.
constexpr std::size_t kHeaderLimit = 16384;
constexpr const char* kHeaderEnd = "\r\n\r\n";

class Socket {
 public:
  explicit Socket(int fd) : mFd(fd) {}
  ~Socket() {
    if (mFd >= 0) close(mFd);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int Fd() const { return mFd; }

 private:
  int mFd;
};

// Waits for `events` on the socket until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, static_cast<int>(left));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
}

int Connect(const addrinfo& address, Clock::time_point deadline) {
  const int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
  if (fd < 0) return -1;
  if (connect(fd, address.ai_addr, address.ai_addrlen) == 0) return fd;
  int error = errno;
  if (error == EINPROGRESS && WaitFor(fd, POLLOUT, deadline)) {
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) return fd;
  }
  close(fd);
  return -1;
}

int ConnectToServer(const HttpGetRequest& request, Clock::time_point deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* addresses = nullptr;
  if (getaddrinfo(request.host.c_str(), std::to_string(request.port).c_str(), &hints, &addresses) != 0) return -1;
  int fd = -1;
  for (const addrinfo* address = addresses; address && fd < 0; address = address->ai_next) {
    fd = Connect(*address, deadline);
  }
  freeaddrinfo(addresses);
  return fd;
}

bool SendAll(int fd, const std::string& data, Clock::time_point deadline) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (n > 0) sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

HttpGetResult HttpGet(const HttpGetRequest& request, std::string& body) {
  body.clear();
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(request.timeoutMilliseconds);
  Socket socket(ConnectToServer(request, deadline));
  if (socket.Fd() < 0) return HttpGetResult::kNoAnswer;

  const std::string message = "GET /" + request.object + " HTTP/1.0\r\nHost: " + request.host +
                              "\r\nUser-Agent: " + request.userAgent + "\r\nAccept: */*\r\n\r\n";
  if (!SendAll(socket.Fd(), message, deadline)) return HttpGetResult::kNoAnswer;

  std::string answer;
  std::size_t bodyStart = std::string::npos;
  char buffer[1024];
  for (;;) {
    if (!WaitFor(socket.Fd(), POLLIN, deadline)) return HttpGetResult::kNoAnswer;
    const ssize_t n = recv(socket.Fd(), buffer, sizeof buffer, 0);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return HttpGetResult::kNoAnswer;
    }
    if (n == 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
    if (bodyStart == std::string::npos) {
      const std::size_t end = answer.find(kHeaderEnd);
      if (end != std::string::npos) {
        bodyStart = end + 4;
      } else if (answer.size() > kHeaderLimit) {
        return HttpGetResult::kNoAnswer;
      }
    }
    if (bodyStart != std::string::npos && answer.size() - bodyStart > request.bodyLimit) {
      return HttpGetResult::kTooLong;
    }
  }
  if (bodyStart == std::string::npos) return HttpGetResult::kNoAnswer;
  body = answer.substr(bodyStart);
  return HttpGetResult::kBody;
}
