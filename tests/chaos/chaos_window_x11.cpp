// The chaos host's window on X11: a top-level window of its own connection,
// and input through the XTEST extension, which the server delivers exactly
// as it delivers a user's (to the window under the pointer, to a grab, to the
// focus).
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dlfcn.h>

#include <chrono>
#include <set>
#include <thread>

#include "tests/chaos/chaos_window.h"

namespace {

// Away from the screen's corner, so the editor's pop-ups have room all round.
constexpr int kParentX = 60;
constexpr int kParentY = 40;

Display* gHostDisplay = nullptr;
XErrorHandler gPreviousHandler = nullptr;

// The host's requests may name windows the plug-in has just destroyed, or
// whose parent the host destroyed: not fatal. Errors of other connections
// (the plug-in's own) go where they went before.
int IgnoreHostError(Display* display, XErrorEvent* error) {
  if (display == gHostDisplay) return 0;
  return gPreviousHandler ? gPreviousHandler(display, error) : 0;
}

KeySym SymbolOf(ChaosKey key, char character) {
  switch (key) {
    case ChaosKey::kEscape: return XK_Escape;
    case ChaosKey::kReturn: return XK_Return;
    case ChaosKey::kTab: return XK_Tab;
    case ChaosKey::kBackspace: return XK_BackSpace;
    case ChaosKey::kDelete: return XK_Delete;
    case ChaosKey::kLeft: return XK_Left;
    case ChaosKey::kRight: return XK_Right;
    case ChaosKey::kUp: return XK_Up;
    case ChaosKey::kDown: return XK_Down;
    case ChaosKey::kHome: return XK_Home;
    case ChaosKey::kEnd: return XK_End;
    case ChaosKey::kSpace: return XK_space;
    case ChaosKey::kCharacter: return static_cast<KeySym>(static_cast<unsigned char>(character));
    case ChaosKey::kMinus: return XK_minus;
    case ChaosKey::kPeriod: return XK_period;
    case ChaosKey::kShift: return XK_Shift_L;
    case ChaosKey::kControl: return XK_Control_L;
    case ChaosKey::kAlt: return XK_Alt_L;
  }
  return XK_space;
}

}  // namespace

struct ChaosWindow::State {
  Display* display = nullptr;
  Window parent = 0;
  std::set<unsigned> heldButtons;
  std::set<unsigned> heldKeys;
};

std::unique_ptr<ChaosWindow> ChaosWindow::Connect(std::string& why) {
  // A desktop host has fontconfig loaded for its own toolkit, so the
  // configuration fontconfig keeps for the whole process outlives the
  // plug-in library; without this the library's unloading takes fontconfig
  // with it and LeakSanitizer can no longer tell whose that memory was.
  dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NODELETE);
  auto state = std::make_unique<State>();
  state->display = XOpenDisplay(nullptr);
  if (!state->display) {
    why = "no X server (DISPLAY)";
    return nullptr;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(state->display, &event, &error, &major, &minor)) {
    XCloseDisplay(state->display);
    why = "the X server has no XTEST extension";
    return nullptr;
  }
  gHostDisplay = state->display;
  gPreviousHandler = XSetErrorHandler(IgnoreHostError);
  return std::unique_ptr<ChaosWindow>(new ChaosWindow(std::move(state)));
}

ChaosWindow::ChaosWindow(std::unique_ptr<State> state) : state_(std::move(state)) {}

ChaosWindow::~ChaosWindow() {
  ReleaseAll();
  DestroyParent();
  XSync(state_->display, False);
  XCloseDisplay(state_->display);
  gHostDisplay = nullptr;
}

void* ChaosWindow::CreateParent(int width, int height) {
  DestroyParent();
  Display* display = state_->display;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  attributes.event_mask = StructureNotifyMask | KeyPressMask | KeyReleaseMask;
  state_->parent = XCreateWindow(display, DefaultRootWindow(display), kParentX, kParentY, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWBackPixel | CWEventMask, &attributes);
  if (!state_->parent) return nullptr;
  XStoreName(display, state_->parent, "vorn-chaos");
  XMapWindow(display, state_->parent);
  XSync(display, False);
  return reinterpret_cast<void*>(state_->parent);
}

void ChaosWindow::DestroyParent() {
  if (!state_->parent) return;
  XDestroyWindow(state_->display, state_->parent);
  XSync(state_->display, False);
  state_->parent = 0;
}

bool ChaosWindow::HasParent() const { return state_->parent != 0; }

int ChaosWindow::ChildWindows() {
  if (!state_->parent) return 0;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(state_->display, state_->parent, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return static_cast<int>(count);
}

void ChaosWindow::Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    while (XPending(state_->display) > 0) {
      XEvent event;
      XNextEvent(state_->display, &event);
    }
    if (std::chrono::steady_clock::now() >= end) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void ChaosWindow::MoveTo(int x, int y) {
  XTestFakeMotionEvent(state_->display, DefaultScreen(state_->display), kParentX + x, kParentY + y, CurrentTime);
  XFlush(state_->display);
}

void ChaosWindow::Button(int button, bool down) {
  const unsigned number = static_cast<unsigned>(button);
  if (down == (state_->heldButtons.count(number) > 0)) return;
  XTestFakeButtonEvent(state_->display, number, down ? True : False, CurrentTime);
  XFlush(state_->display);
  if (down)
    state_->heldButtons.insert(number);
  else
    state_->heldButtons.erase(number);
}

void ChaosWindow::Wheel(int steps) {
  // X reports the wheel as presses and releases of buttons 4 (away) and 5.
  const unsigned button = steps > 0 ? 4 : 5;
  for (int i = 0; i < (steps > 0 ? steps : -steps); ++i) {
    XTestFakeButtonEvent(state_->display, button, True, CurrentTime);
    XTestFakeButtonEvent(state_->display, button, False, CurrentTime);
  }
  XFlush(state_->display);
}

void ChaosWindow::Key(ChaosKey key, char character, bool down) {
  const unsigned code = XKeysymToKeycode(state_->display, SymbolOf(key, character));
  if (code == 0 || down == (state_->heldKeys.count(code) > 0)) return;
  XTestFakeKeyEvent(state_->display, code, down ? True : False, CurrentTime);
  XFlush(state_->display);
  if (down)
    state_->heldKeys.insert(code);
  else
    state_->heldKeys.erase(code);
}

void ChaosWindow::ReleaseAll() {
  for (unsigned button : state_->heldButtons) XTestFakeButtonEvent(state_->display, button, False, CurrentTime);
  for (unsigned code : state_->heldKeys) XTestFakeKeyEvent(state_->display, code, False, CurrentTime);
  state_->heldButtons.clear();
  state_->heldKeys.clear();
  XSync(state_->display, False);
}
