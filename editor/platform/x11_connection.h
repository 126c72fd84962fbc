// The editors' one connection to the X server and the thread that serves it.
//
// Every editor of the process shares this connection and this thread, as
// every editor on Windows shares the host's window thread: window events,
// timer ticks, menus, dialogs and text entries of all editors run here, one
// call at a time, so the core's window-thread rules (and the raster fonts'
// single render bitmap) hold. The connection is opened by the first editor
// window and closed when the last editor that used it is destroyed; nothing
// connects before a host opens an editor.
//
// Host threads (effEditOpen/effEditClose, under the plug-in mutex) only
// create and destroy windows through Guard; they never wait for the thread,
// so a thread blocked on a plug-in mutex cannot deadlock them. The thread
// never holds the connection lock while it calls into an editor.
//
// X errors: the connection installs a process-wide error handler only while
// the lock is held (the only time Xlib reads this connection). It swallows
// errors of this connection, which are expected when a host destroys its
// window under ours, and hands errors of every other connection to the
// handler that was installed before, so the host's own handling is kept.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Something that owns windows on the connection: an editor, or one of the
// windows an editor shows (menu, entry, message box). Called on the thread.
class X11Client {
 public:
  virtual ~X11Client() = default;
  virtual void HandleEvent(XEvent& event) = 0;
  // Milliseconds between ticks, or 0 for a client without ticks.
  virtual int TickPeriod() { return 0; }
  virtual void Tick() {}
  // True when the modal windows this client opened should close now (its
  // window went away).
  virtual bool WantsModalEnd() { return false; }
};

class X11Connection {
 public:
  // Holds the connection lock with the error trap installed. Every Xlib
  // call on Display() happens inside one.
  class Guard {
   public:
    explicit Guard(X11Connection& connection);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    X11Connection& mConnection;
  };

  // The shared connection, opened (with its thread) on first use, or null
  // when no X server can be reached. Each Acquire is matched by a Release.
  // Host threads.
  static X11Connection* Acquire();
  // The last Release stops the thread and closes the connection. Must not
  // be called on the thread itself.
  static void Release(X11Connection* connection);

  ::Display* Display() const { return mDisplay; }
  // The code of the first X error since the last call (0 for none), after
  // a round trip that collects errors of requests made so far. Under Guard.
  int SyncAndTakeError();

  // Routes the window's events to client (under Guard or not).
  void Register(Window window, X11Client* client);
  void Unregister(Window window);
  // Ticks the client at its period from now on.
  void AddTicker(X11Client* client);
  // Stops routing anything to client and returns once the thread is no
  // longer inside one of its calls. Host threads only.
  void RemoveClient(X11Client* client);
  // Makes the thread look at its queue now (after requests from host threads).
  void Wake();

  // A nested event loop on the thread for modal windows (menus, message
  // boxes): runs until done() answers true, delivering events of windows
  // registered to one of modalClients and keeping every other event for
  // after. Answers false when the loop was cut short because the owner is
  // going away (RemoveClient), wants it to end, or the connection closes.
  template <typename Done>
  bool RunModal(const std::vector<X11Client*>& modalClients, X11Client* owner, Done done);
  bool IsOnThread() const { return std::this_thread::get_id() == mThread.get_id(); }

 private:
  X11Connection(::Display* display);
  ~X11Connection();
  void Run();
  // Waits for the connection, the wake pipe or timeoutMs; reads every queued
  // event under Guard.
  std::vector<XEvent> WaitForEvents(int timeoutMs);
  void Dispatch(XEvent& event);
  int RunDueTicks();
  bool ModalStep(const std::vector<X11Client*>& modalClients, X11Client* owner);

  static int TrapError(::Display* display, XErrorEvent* error);

  ::Display* mDisplay;
  int mWakeFd = -1;
  std::recursive_mutex mLock;
  int mGuardDepth = 0;
  int mPendingError = 0;
  XErrorHandler mPreviousHandler = nullptr;

  std::mutex mClientsLock;
  std::condition_variable mClientsChanged;
  std::map<Window, X11Client*> mWindows;
  struct Ticker {
    X11Client* client;
    long long due;
  };
  std::vector<Ticker> mTickers;
  X11Client* mActiveClient = nullptr;  // the client the thread is calling
  std::vector<X11Client*> mLeaving;    // clients being removed: modal loops end
  std::deque<XEvent> mDeferred;        // events held back by a modal loop

  std::atomic<bool> mStopping{false};
  std::thread mThread;
  int mUsers = 1;
};

template <typename Done>
bool X11Connection::RunModal(const std::vector<X11Client*>& modalClients, X11Client* owner, Done done) {
  while (!done()) {
    if (!ModalStep(modalClients, owner)) return false;
  }
  return true;
}
