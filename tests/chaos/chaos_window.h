// The host's side of the window system for the editor cases of the chaos
// host: a top-level window the editor opens into, the host's own event
// handling, and input the window system delivers as if a user gave it
// (pointer, buttons, wheel, keys). One platform file per window system; the
// build picks it. Used from one thread, the host's user-interface thread.
#pragma once

#include <memory>
#include <string>

// Keys the chaos host presses; each window system maps them to its codes.
enum class ChaosKey : int {
  kEscape,
  kReturn,
  kTab,
  kBackspace,
  kDelete,
  kLeft,
  kRight,
  kUp,
  kDown,
  kHome,
  kEnd,
  kSpace,
  kCharacter,  // the digit or lower-case letter given with it
  kMinus,
  kPeriod,
  kShift,
  kControl,
  kAlt,
};
constexpr int kChaosKeyCount = static_cast<int>(ChaosKey::kAlt) + 1;

// Pointer buttons, numbered as X numbers them: 1 left, 2 middle, 3 right.
constexpr int kLeftButton = 1;
constexpr int kMiddleButton = 2;
constexpr int kRightButton = 3;

class ChaosWindow {
 public:
  // Connects to the window system; null (with the reason in `why`) when there
  // is none, e.g. no X server.
  static std::unique_ptr<ChaosWindow> Connect(std::string& why);
  ~ChaosWindow();
  ChaosWindow(const ChaosWindow&) = delete;
  ChaosWindow& operator=(const ChaosWindow&) = delete;

  // Makes and shows the parent window for an editor of width x height and
  // answers the native handle effEditOpen takes (null when it failed).
  void* CreateParent(int width, int height);
  // Destroys the parent window (and with it whatever the plug-in left in it).
  void DestroyParent();
  bool HasParent() const;
  // Windows inside the parent (the editor's, while it is open).
  int ChildWindows();

  // The host's own event handling for `ms` milliseconds (0: what is queued).
  void Pump(int ms);

  // Input through the window system, at coordinates inside the parent.
  void MoveTo(int x, int y);
  void Button(int button, bool down);
  // Steps of the wheel, positive away from the user.
  void Wheel(int steps);
  void Key(ChaosKey key, char character, bool down);
  // Lets go of every button and key still held (after the editor went away
  // in the middle of a drag).
  void ReleaseAll();

 private:
  struct State;
  explicit ChaosWindow(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};
