#include "editor/platform/x11_connection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

// Longest sleep of the thread without ticks or events (it wakes for both).
constexpr int kIdleWaitMs = 500;

std::mutex gConnectionLock;
X11Connection* gConnection = nullptr;

bool IsInputEvent(const XEvent& event) {
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
    case EnterNotify:
    case LeaveNotify: return true;
    default: return false;
  }
}

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

X11Connection::Guard::Guard(X11Connection& connection) : mConnection(connection) {
  mConnection.mLock.lock();
  if (mConnection.mGuardDepth++ == 0) mConnection.mPreviousHandler = XSetErrorHandler(TrapError);
}

X11Connection::Guard::~Guard() {
  if (--mConnection.mGuardDepth == 0) {
    // Someone who replaced our handler meanwhile keeps theirs.
    const XErrorHandler current = XSetErrorHandler(mConnection.mPreviousHandler);
    if (current != TrapError) XSetErrorHandler(current);
  }
  mConnection.mLock.unlock();
}

int X11Connection::TrapError(::Display* display, XErrorEvent* error) {
  // Only called while some Guard holds the connection lock, so gConnection
  // stays valid; the lock keeps its fields stable.
  X11Connection* connection = gConnection;
  if (connection && display == connection->mDisplay) {
    if (connection->mPendingError == 0) connection->mPendingError = error->error_code;
    return 0;
  }
  const XErrorHandler previous = connection ? connection->mPreviousHandler : nullptr;
  if (previous && previous != TrapError) return previous(display, error);
  return 0;
}

X11Connection* X11Connection::Acquire() {
  std::lock_guard<std::mutex> lock(gConnectionLock);
  if (gConnection) {
    ++gConnection->mUsers;
    return gConnection;
  }
  ::Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  gConnection = new X11Connection(display);
  return gConnection;
}

void X11Connection::Release(X11Connection* connection) {
  if (!connection) return;
  std::lock_guard<std::mutex> lock(gConnectionLock);
  if (--connection->mUsers > 0) return;
  delete connection;
  gConnection = nullptr;
}

X11Connection::X11Connection(::Display* display) : mDisplay(display), mWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  mThread = std::thread([this] { Run(); });
}

X11Connection::~X11Connection() {
  mStopping = true;
  Wake();
  mThread.join();
  {
    Guard guard(*this);
    XCloseDisplay(mDisplay);
  }
  if (mWakeFd >= 0) close(mWakeFd);
}

int X11Connection::SyncAndTakeError() {
  XSync(mDisplay, False);
  const int error = mPendingError;
  mPendingError = 0;
  return error;
}

void X11Connection::Register(Window window, X11Client* client) {
  std::lock_guard<std::mutex> lock(mClientsLock);
  mWindows[window] = client;
}

void X11Connection::Unregister(Window window) {
  std::lock_guard<std::mutex> lock(mClientsLock);
  mWindows.erase(window);
}

void X11Connection::AddTicker(X11Client* client) {
  {
    std::lock_guard<std::mutex> lock(mClientsLock);
    for (const Ticker& ticker : mTickers) {
      if (ticker.client == client) return;
    }
    mTickers.push_back({client, NowMs()});
  }
  Wake();
}

void X11Connection::RemoveClient(X11Client* client) {
  std::unique_lock<std::mutex> lock(mClientsLock);
  mTickers.erase(std::remove_if(mTickers.begin(), mTickers.end(),
                                [client](const Ticker& ticker) { return ticker.client == client; }),
                 mTickers.end());
  for (auto it = mWindows.begin(); it != mWindows.end();) {
    it = it->second == client ? mWindows.erase(it) : std::next(it);
  }
  if (IsOnThread()) return;
  mLeaving.push_back(client);
  lock.unlock();
  Wake();
  lock.lock();
  mClientsChanged.wait(lock, [this, client] { return mActiveClient != client; });
  mLeaving.erase(std::find(mLeaving.begin(), mLeaving.end(), client));
}

void X11Connection::Wake() {
  const uint64_t one = 1;
  if (mWakeFd >= 0) {
    [[maybe_unused]] const ssize_t written = write(mWakeFd, &one, sizeof one);
  }
}

std::vector<XEvent> X11Connection::WaitForEvents(int timeoutMs) {
  {
    Guard guard(*this);
    if (XPending(mDisplay) > 0) timeoutMs = 0;
  }
  pollfd fds[2] = {{ConnectionNumber(mDisplay), POLLIN, 0}, {mWakeFd, POLLIN, 0}};
  poll(fds, mWakeFd >= 0 ? 2 : 1, timeoutMs);
  if (fds[1].revents & POLLIN) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(mWakeFd, &count, sizeof count);
  }
  std::vector<XEvent> events;
  Guard guard(*this);
  while (XPending(mDisplay) > 0) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    events.push_back(event);
  }
  return events;
}

void X11Connection::Dispatch(XEvent& event) {
  X11Client* client = nullptr;
  {
    std::lock_guard<std::mutex> lock(mClientsLock);
    auto it = mWindows.find(event.xany.window);
    if (it == mWindows.end()) return;
    client = it->second;
    mActiveClient = client;
  }
  client->HandleEvent(event);
  std::lock_guard<std::mutex> lock(mClientsLock);
  mActiveClient = nullptr;
  mClientsChanged.notify_all();
}

int X11Connection::RunDueTicks() {
  const long long now = NowMs();
  std::vector<X11Client*> due;
  long long next = now + kIdleWaitMs;
  {
    std::lock_guard<std::mutex> lock(mClientsLock);
    for (Ticker& ticker : mTickers) {
      const int period = ticker.client->TickPeriod();
      if (period <= 0) continue;
      if (ticker.due <= now) {
        due.push_back(ticker.client);
        // A late tick does not bunch up the following ones.
        ticker.due = std::max(ticker.due + period, now + 1);
      }
      next = std::min(next, ticker.due);
    }
  }
  for (X11Client* client : due) {
    {
      std::lock_guard<std::mutex> lock(mClientsLock);
      const bool present = std::any_of(mTickers.begin(), mTickers.end(),
                                       [client](const Ticker& ticker) { return ticker.client == client; });
      if (!present) continue;
      mActiveClient = client;
    }
    client->Tick();
    std::lock_guard<std::mutex> lock(mClientsLock);
    mActiveClient = nullptr;
    mClientsChanged.notify_all();
  }
  return static_cast<int>(std::max(0LL, next - NowMs()));
}

void X11Connection::Run() {
  while (!mStopping) {
    const int wait = RunDueTicks();
    std::vector<XEvent> events(mDeferred.begin(), mDeferred.end());
    mDeferred.clear();
    std::vector<XEvent> fresh = WaitForEvents(events.empty() ? wait : 0);
    events.insert(events.end(), fresh.begin(), fresh.end());
    for (size_t i = 0; i < events.size(); ++i) {
      // Only the last of a run of pointer motions matters.
      if (events[i].type == MotionNotify && i + 1 < events.size() && events[i + 1].type == MotionNotify &&
          events[i + 1].xany.window == events[i].xany.window) {
        continue;
      }
      Dispatch(events[i]);
    }
  }
}

bool X11Connection::ModalStep(const std::vector<X11Client*>& modalClients, X11Client* owner) {
  auto cut = [this, owner] {
    if (owner->WantsModalEnd()) return true;
    std::lock_guard<std::mutex> lock(mClientsLock);
    return mStopping || std::find(mLeaving.begin(), mLeaving.end(), owner) != mLeaving.end();
  };
  if (cut()) return false;
  std::vector<XEvent> events = WaitForEvents(kIdleWaitMs / 10);
  for (XEvent& event : events) {
    X11Client* client = nullptr;
    {
      std::lock_guard<std::mutex> lock(mClientsLock);
      auto it = mWindows.find(event.xany.window);
      if (it != mWindows.end()) client = it->second;
    }
    if (client && std::find(modalClients.begin(), modalClients.end(), client) != modalClients.end()) {
      client->HandleEvent(event);
    } else if (!IsInputEvent(event)) {
      // Input meant for other windows while a modal window is up is dropped,
      // as a modal loop on Windows swallows it; the rest is delivered after.
      mDeferred.push_back(event);
    }
  }
  return !cut();
}
