// The GET through the Windows Internet functions, with their time-outs set
// so that no step waits past the request's bound.
#include <windows.h>
#include <wininet.h>

#include <initializer_list>

#include "product/update/http_get.h"

namespace {

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : mHandle(handle) {}
  ~InternetHandle() {
    if (mHandle) InternetCloseHandle(mHandle);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET Get() const { return mHandle; }

 private:
  HINTERNET mHandle;
};

void SetTimeouts(HINTERNET handle, int milliseconds) {
  DWORD value = static_cast<DWORD>(milliseconds);
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(handle, option, &value, sizeof value);
  }
}

}  // namespace

HttpGetResult HttpGet(const HttpGetRequest& request, std::string& body) {
  body.clear();
  // Declared in opening order, so they close request first, session last.
  InternetHandle session(InternetOpenA(request.userAgent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session.Get()) return HttpGetResult::kNoAnswer;
  SetTimeouts(session.Get(), request.timeoutMilliseconds);
  InternetHandle connection(InternetConnectA(session.Get(), request.host.c_str(),
                                             static_cast<INTERNET_PORT>(request.port), nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection.Get()) return HttpGetResult::kNoAnswer;
  SetTimeouts(connection.Get(), request.timeoutMilliseconds);
  const char* acceptTypes[] = {"*/*", nullptr};
  // Always the server's present answer, never a cached one.
  InternetHandle file(HttpOpenRequestA(connection.Get(), "GET", request.object.c_str(), nullptr, nullptr, acceptTypes,
                                       INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, 0));
  if (!file.Get()) return HttpGetResult::kNoAnswer;
  // Not every version takes the bounds over from the session handle.
  SetTimeouts(file.Get(), request.timeoutMilliseconds);
  if (!HttpSendRequestA(file.Get(), nullptr, 0, nullptr, 0)) return HttpGetResult::kNoAnswer;
  char buffer[1024];
  DWORD read = 0;
  for (;;) {
    if (!InternetReadFile(file.Get(), buffer, sizeof buffer, &read)) {
      body.clear();
      return HttpGetResult::kNoAnswer;
    }
    if (read == 0) break;
    body.append(buffer, read);
    if (body.size() > request.bodyLimit) {
      body.clear();
      return HttpGetResult::kTooLong;
    }
  }
  return HttpGetResult::kBody;
}
