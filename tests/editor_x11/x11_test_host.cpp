#include "tests/editor_x11/x11_test_host.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dlfcn.h>

#include <chrono>
#include <thread>

std::atomic<int> X11TestHost::mHostErrors{0};
std::mutex X11TestHost::sEventsLock;
std::vector<X11TestHost::EditEvent> X11TestHost::sEvents;

namespace {

constexpr int kTopLevelWidth = 880;
constexpr int kTopLevelHeight = 400;
constexpr int kSampleRate = 44100;
constexpr int kBlockSize = 512;

Display* gHostDisplay = nullptr;
XErrorHandler gPreviousHandler = nullptr;
// While the host looks through the server's top-level windows, a window the
// plug-in's own connection destroys in between answers BadWindow: that is the
// race of looking, not an error of the plug-in's.
std::atomic<bool> gProbingForeignWindows{false};

}  // namespace

int X11TestHost::CountError(Display* display, XErrorEvent* error) {
  if (display == gHostDisplay) {
    if (!gProbingForeignWindows) ++mHostErrors;
    return 0;
  }
  return gPreviousHandler ? gPreviousHandler(display, error) : 0;
}

X11TestHost::X11TestHost() {
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return;
  gHostDisplay = mDisplay;
  mHostErrors = 0;
  gPreviousHandler = XSetErrorHandler(CountError);
  XSetWindowAttributes attributes{};
  attributes.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask;
  attributes.background_pixel = 0x404040;
  mTopLevel = XCreateWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, kTopLevelWidth, kTopLevelHeight, 0,
                            CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixel, &attributes);
  XStoreName(mDisplay, mTopLevel, "Vorn test host");
  XMapWindow(mDisplay, mTopLevel);
  NewFrame(false);
  XSync(mDisplay, False);
}

X11TestHost::~X11TestHost() {
  Unload();
  if (!mDisplay) return;
  XDestroyWindow(mDisplay, mTopLevel);
  XSync(mDisplay, False);
  XSetErrorHandler(gPreviousHandler);
  XCloseDisplay(mDisplay);
  gHostDisplay = nullptr;
}

void X11TestHost::NewFrame(bool destroyOld) {
  if (destroyOld && mFrame) XDestroyWindow(mDisplay, mFrame);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = 0x202020;
  mFrame = XCreateWindow(mDisplay, mTopLevel, kFrameX, kFrameY, 840, 380, 0, CopyFromParent, InputOutput,
                         CopyFromParent, CWBackPixel, &attributes);
  XMapWindow(mDisplay, mFrame);
  XSync(mDisplay, False);
}

vst2::IntPtr X11TestHost::HostCallback(vst2::AEffect*, std::int32_t opcode, std::int32_t index, vst2::IntPtr, void*,
                                       float opt) {
  switch (opcode) {
    case vst2::audioMasterVersion: return 2400;
    case vst2::audioMasterAutomate:
    case vst2::audioMasterBeginEdit:
    case vst2::audioMasterEndEdit: {
      std::lock_guard<std::mutex> lock(sEventsLock);
      sEvents.push_back({opcode, index, opt});
      return 0;
    }
    default: return 0;
  }
}

bool X11TestHost::Load(const std::string& path) {
  mModule = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mModule) return false;
  auto entry = reinterpret_cast<vst2::EntryPoint>(dlsym(mModule, "VSTPluginMain"));
  if (!entry) return false;
  mEffect = entry(HostCallback);
  if (!mEffect) return false;
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, kSampleRate);
  Dispatch(vst2::effSetBlockSize, 0, kBlockSize);
  Dispatch(vst2::effMainsChanged, 0, 1);
  TakeEditEvents();
  return true;
}

void X11TestHost::Unload() {
  if (mEffect) {
    Dispatch(vst2::effMainsChanged, 0, 0);
    mEffect->dispatcher(mEffect, vst2::effClose, 0, 0, nullptr, 0.0f);
    mEffect = nullptr;
  }
  // The module stays loaded, as most hosts keep a plug-in library once
  // they have loaded it: its process-wide caches live until then.
  mModule = nullptr;
}

vst2::IntPtr X11TestHost::Dispatch(int opcode, int index, vst2::IntPtr value, void* ptr, float opt) {
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

bool X11TestHost::OpenEditor() {
  if (!Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(mFrame))) return false;
  return PumpUntil([this] {
    const Window editor = EditorWindow();
    if (!editor) return false;
    XWindowAttributes attributes;
    return XGetWindowAttributes(mDisplay, editor, &attributes) && attributes.map_state == IsViewable;
  });
}

Window X11TestHost::EditorWindow() {
  Window root, parent;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(mDisplay, mFrame, &root, &parent, &children, &count)) return 0;
  const Window editor = count > 0 ? children[count - 1] : 0;
  if (children) XFree(children);
  return editor;
}

std::vector<X11TestHost::EditEvent> X11TestHost::TakeEditEvents() {
  std::lock_guard<std::mutex> lock(sEventsLock);
  std::vector<EditEvent> taken;
  taken.swap(sEvents);
  return taken;
}

std::string X11TestHost::ParameterDisplay(int index) {
  char text[64] = {};
  Dispatch(vst2::effGetParamDisplay, index, 0, text);
  return text;
}

void X11TestHost::MoveToRoot(int x, int y) {
  XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), x, y, CurrentTime);
  XSync(mDisplay, False);
  Pump(15);
}

void X11TestHost::MoveTo(int x, int y) {
  int rootX = 0, rootY = 0;
  RootPosition(EditorWindow(), rootX, rootY);
  MoveToRoot(rootX + x, rootY + y);
}

void X11TestHost::Press(int button) {
  XTestFakeButtonEvent(mDisplay, static_cast<unsigned>(button), True, CurrentTime);
  XSync(mDisplay, False);
  Pump(15);
}

void X11TestHost::Release(int button) {
  XTestFakeButtonEvent(mDisplay, static_cast<unsigned>(button), False, CurrentTime);
  XSync(mDisplay, False);
  Pump(15);
}

void X11TestHost::Click(int x, int y, int button) {
  MoveTo(x, y);
  Press(button);
  Release(button);
}

void X11TestHost::Key(KeySym keysym) {
  const KeyCode code = XKeysymToKeycode(mDisplay, keysym);
  XTestFakeKeyEvent(mDisplay, code, True, CurrentTime);
  XTestFakeKeyEvent(mDisplay, code, False, CurrentTime);
  XSync(mDisplay, False);
  Pump(15);
}

std::vector<unsigned> X11TestHost::TakeForwardedKeys() {
  Pump(50);
  std::vector<unsigned> taken;
  taken.swap(mForwardedKeys);
  return taken;
}

void X11TestHost::Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    while (XPending(mDisplay) > 0) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      if (event.type == KeyPress && event.xkey.send_event && event.xkey.window == mTopLevel) {
        mForwardedKeys.push_back(event.xkey.keycode);
      }
    }
    if (mIdleCalls && mEffect) Dispatch(vst2::effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(mIdleCalls ? 10 : 5));
  } while (std::chrono::steady_clock::now() < end);
}

bool X11TestHost::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    Pump(10);
  }
  return done();
}

std::vector<Window> X11TestHost::PopupWindows(const char* name) {
  std::vector<Window> found;
  Window root, parent;
  Window* children = nullptr;
  unsigned count = 0;
  XSync(mDisplay, False);
  gProbingForeignWindows = true;
  if (!XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &parent, &children, &count)) {
    gProbingForeignWindows = false;
    return found;
  }
  for (unsigned i = count; i-- > 0;) {
    XWindowAttributes attributes;
    char* windowName = nullptr;
    if (XGetWindowAttributes(mDisplay, children[i], &attributes) && attributes.map_state == IsViewable &&
        XFetchName(mDisplay, children[i], &windowName) && windowName) {
      if (std::string(windowName) == name) found.push_back(children[i]);
      XFree(windowName);
    }
  }
  if (children) XFree(children);
  XSync(mDisplay, False);
  gProbingForeignWindows = false;
  return found;
}

void X11TestHost::RootPosition(Window window, int& x, int& y) {
  Window child;
  XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), 0, 0, &x, &y, &child);
}
