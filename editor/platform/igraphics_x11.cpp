// The window itself: opening and closing it in the host's window, events,
// ticks and presenting. Services (menus, dialogs, folders) are in
// igraphics_x11_services.cpp.
#include "editor/platform/igraphics_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "editor/icontrol.h"
#include "editor/ikey_codes.h"
#include "editor/platform/x11_keys.h"
#include "editor/platform/x11_surface.h"
#include "editor/platform/x11_text_entry.h"
#include "raster/px_png.h"

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ButtonMotionMask |
                            KeyPressMask | KeyReleaseMask | LeaveWindowMask | StructureNotifyMask | FocusChangeMask;
constexpr unsigned kWheelUp = 4;
constexpr unsigned kWheelDown = 5;

// The buttons and keys held, as Windows reports them with a message: state
// is what X reports (before the event), pressed and released the event's
// own button.
IMouseMods ModsOf(unsigned state, unsigned pressed = 0, unsigned released = 0) {
  IMouseMods mods;
  mods.left = ((state & Button1Mask) || pressed == Button1) && released != Button1;
  mods.right = ((state & Button3Mask) || pressed == Button3) && released != Button3;
  mods.shift = (state & ShiftMask) != 0;
  mods.control = (state & ControlMask) != 0;
  mods.alt = (state & Mod1Mask) != 0;
  return mods;
}

}  // namespace

IGraphicsX11::IGraphicsX11(PluginBase* plugin) : IGraphics(plugin) {}

IGraphicsX11::~IGraphicsX11() { StopEvents(); }

void IGraphicsX11::StopEvents() {
  if (!mConnection) return;
  Close();
  mConnection->RemoveClient(this);
  // The thread no longer calls us: what it owned can go.
  mEntry.reset();
  {
    X11Connection::Guard guard(*mConnection);
    if (mBlankCursor) XFreeCursor(mConnection->Display(), mBlankCursor);
    mBlankCursor = 0;
  }
  X11Connection::Release(mConnection);
  mConnection = nullptr;
}

bool IGraphicsX11::Open(void* parentWindow) {
  const Window parent = static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow));
  if (!parent) return false;
  if (!mConnection) mConnection = X11Connection::Acquire();
  if (!mConnection) return false;
  Display* display = mConnection->Display();
  X11Connection::Guard guard(*mConnection);
  mConnection->SyncAndTakeError();
  XWindowAttributes parentAttributes;
  if (!XGetWindowAttributes(display, parent, &parentAttributes) || mConnection->SyncAndTakeError()) return false;

  // Opening again keeps the window's place and size.
  int x = 0;
  int y = 0;
  unsigned width = static_cast<unsigned>(Width());
  unsigned height = static_cast<unsigned>(Height());
  if (const Window old = mWindow.exchange(0)) {
    Window root;
    int oldX, oldY;
    unsigned oldWidth, oldHeight, border, depth;
    if (XGetGeometry(display, old, &root, &oldX, &oldY, &oldWidth, &oldHeight, &border, &depth)) {
      x = oldX;
      y = oldY;
      width = oldWidth;
      height = oldHeight;
    }
    mConnection->Unregister(old);
    XDestroyWindow(display, old);
    mConnection->SyncAndTakeError();
  }

  // Our own visual, whatever the host's window uses (some are 32-bit ARGB).
  const int screen = XScreenNumberOfScreen(parentAttributes.screen);
  XSetWindowAttributes attributes{};
  attributes.event_mask = kEventMask;
  attributes.colormap = DefaultColormap(display, screen);
  attributes.border_pixel = 0;
  attributes.background_pixmap = None;
  attributes.bit_gravity = NorthWestGravity;
  const Window window =
      XCreateWindow(display, parent, x, y, width, height, 0, DefaultDepth(display, screen), InputOutput,
                    DefaultVisual(display, screen),
                    CWEventMask | CWColormap | CWBorderPixel | CWBackPixmap | CWBitGravity, &attributes);
  XStoreName(display, window, "Vorn");
  XMapWindow(display, window);
  if (mConnection->SyncAndTakeError()) {
    XDestroyWindow(display, window);
    mConnection->SyncAndTakeError();
    return false;
  }
  mParent = parent;
  mWindow = window;
  mConnection->Register(window, this);
  mConnection->AddTicker(this);
  mRepaintAll = true;
  mConnection->Wake();
  return true;
}

void IGraphicsX11::Close() {
  if (!mConnection) return;
  X11Connection::Guard guard(*mConnection);
  const Window window = mWindow.exchange(0);
  if (!window) return;
  mConnection->Unregister(window);
  // Fails harmlessly when the host destroyed its window (and so ours) first.
  XDestroyWindow(mConnection->Display(), window);
  mConnection->SyncAndTakeError();
  mConnection->Wake();
}

void* IGraphicsX11::NativeWindow() { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow.load())); }

void IGraphicsX11::Resize(int width, int height) {
  if (width == Width() && height == Height()) return;
  IGraphics::Resize(width, height);
  if (!mConnection) return;
  X11Connection::Guard guard(*mConnection);
  if (const Window window = mWindow) {
    XResizeWindow(mConnection->Display(), window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(mConnection->Display());
  }
  mRepaintAll = true;
}

bool IGraphicsX11::PresentBox(const IBox& box) {
  PX_IBitmap* bitmap = DrawBitmapSurface();
  if (!mConnection || !bitmap) return false;
  X11Connection::Guard guard(*mConnection);
  const Window window = mWindow;
  if (!window) return false;
  X11PutBitmap(mConnection->Display(), window, *bitmap, box, box.left, box.top);
  XFlush(mConnection->Display());
  return true;
}

int IGraphicsX11::TickPeriod() { return FrameRate() > 0 ? 1000 / FrameRate() : 1000 / kDefaultFrameRate; }

void IGraphicsX11::Tick() {
  if (!mWindow) {
    if (mEntry) CloseTextEntry(false);
    return;
  }
  if (mEntry) {
    switch (mEntryState.load()) {
      case kEntryCancel: CloseTextEntry(false); return;
      case kEntryCommit: CloseTextEntry(true); return;
      case kEntryFocused:
      case kEntryDrawn: mEntryState = kEntryIdle; return;
      default: break;
    }
  }
  if (mRepaintAll.exchange(false)) MarkAllDirty();
  IBox dirty;
  if (!CollectDirtyArea(dirty)) return;
  // The entry is a child window: presenting the editor does not paint over it.
  Draw(dirty);
  if (mEntry) mEntryState = kEntryDrawn;
}

void IGraphicsX11::HandleEvent(XEvent& event) {
  if (mEntry && event.xany.window == mEntry->GetWindow()) {
    mEntry->HandleEvent(event);
    return;
  }
  switch (event.type) {
    case Expose: HandleExpose(event.xexpose); break;
    case ButtonPress: HandleButtonPress(event.xbutton); break;
    case ButtonRelease: HandleButtonRelease(event.xbutton); break;
    case MotionNotify: HandleMotion(event.xmotion); break;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal && mTrackingLeave && !mCaptured) {
        mTrackingLeave = false;
        OnMouseOut();
      }
      break;
    case KeyPress:
    case KeyRelease: HandleKey(event.xkey); break;
    case DestroyNotify:
      // The host destroyed its window, and ours with it.
      if (event.xdestroywindow.window == mWindow) {
        mConnection->Unregister(event.xdestroywindow.window);
        mWindow = 0;
      }
      break;
    default: break;
  }
}

void IGraphicsX11::HandleExpose(XExposeEvent& event) {
  mExposed = mExposed.Union({event.x, event.y, event.x + event.width, event.y + event.height});
  if (event.count > 0) return;
  const IBox box = mExposed;
  mExposed = {};
  Draw(box);
}

void IGraphicsX11::HandleButtonPress(XButtonEvent& event) {
  if (event.button == kWheelUp || event.button == kWheelDown) {
    if (mEntry) {
      mEntryState = kEntryCancel;
      return;
    }
    OnMouseWheel(event.x, event.y, ModsOf(event.state), event.button == kWheelUp ? 1 : -1);
    return;
  }
  if (event.button > Button3) return;
  if (mEntry) {
    mEntryState = mEntryState == kEntryFocused ? kEntryCancel : kEntryCommit;
    return;
  }
  {
    X11Connection::Guard guard(*mConnection);
    XSetInputFocus(mConnection->Display(), event.window, RevertToParent, CurrentTime);
  }
  const IMouseMods mods = ModsOf(event.state, event.button);
  const bool doubleClick = event.button == Button1 && event.time - mLastClickTime <= kDoubleClickMs &&
                           std::abs(event.x - mLastClickX) <= kDoubleClickDistance &&
                           std::abs(event.y - mLastClickY) <= kDoubleClickDistance;
  if (doubleClick) {
    // A third press starts counting again.
    mLastClickTime = 0;
    mLastClickX = mLastClickY = -1000;
    mCaptured = OnMouseDblClick(event.x, event.y, mods);
    return;
  }
  if (event.button == Button1) {
    mLastClickTime = event.time;
    mLastClickX = event.x;
    mLastClickY = event.y;
  }
  mCaptured = true;
  OnMouseDown(event.x, event.y, mods);
}

void IGraphicsX11::HandleButtonRelease(XButtonEvent& event) {
  if (event.button > Button3) return;
  mCaptured = false;
  OnMouseUp(event.x, event.y, ModsOf(event.state, 0, event.button));
}

void IGraphicsX11::HandleMotion(XMotionEvent& event) {
  if (event.state & (Button1Mask | Button3Mask)) {
    if (mCaptured && !mEntry) OnMouseDrag(event.x, event.y, ModsOf(event.state));
    return;
  }
  if (OnMouseOver(event.x, event.y, ModsOf(event.state))) mTrackingLeave = true;
}

void IGraphicsX11::HandleKey(XKeyEvent& event) {
  if (event.type == KeyPress && !mEntry) {
    const int code = X11EditorKeyCode(event);
    if (code != kKeyUnmapped) {
      int x = event.x;
      int y = event.y;
      {
        X11Connection::Guard guard(*mConnection);
        Window root, child;
        int rootX, rootY;
        unsigned mask;
        XQueryPointer(mConnection->Display(), event.window, &root, &child, &rootX, &rootY, &x, &y, &mask);
      }
      if (OnKeyDown(x, y, code)) return;
    }
  }
  ForwardKey(event);
}

Window IGraphicsX11::HostTopLevel() {
  Display* display = mConnection->Display();
  Window current = mParent;
  Window topLevel = 0;
  const Atom wmState = XInternAtom(display, "WM_STATE", True);
  while (current) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, current, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    topLevel = current;
    // Under a window manager the host's top-level is the client window that
    // carries WM_STATE, not the manager's frame around it.
    if (wmState) {
      Atom type = None;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(display, current, wmState, 0, 0, False, AnyPropertyType, &type, &format, &items, &after,
                             &data) == Success) {
        if (data) XFree(data);
        if (type != None) return current;
      }
    }
    if (parent == root) break;
    current = parent;
  }
  return topLevel;
}

Window IGraphicsX11::HostTopLevelLocked() {
  X11Connection::Guard guard(*mConnection);
  return mWindow ? HostTopLevel() : 0;
}

void IGraphicsX11::ForwardKey(XKeyEvent& event) {
  X11Connection::Guard guard(*mConnection);
  const Window target = HostTopLevel();
  if (!target) return;
  XKeyEvent forwarded = event;
  forwarded.window = target;
  forwarded.subwindow = None;
  XSendEvent(mConnection->Display(), target, True, event.type == KeyPress ? KeyPressMask : KeyReleaseMask,
             reinterpret_cast<XEvent*>(&forwarded));
  mConnection->SyncAndTakeError();
}

void IGraphicsX11::BeginTextEntry(IControl* control, const ITextStyle& style, const IBox& box, const char* text,
                                  const IParam* param) {
  const Window window = mWindow;
  if (!control || mEntry || !window || !mConnection) return;
  mEntry =
      std::make_unique<X11TextEntry>(*mConnection, window, box, style, text ? text : "", control->TextEntryLength(),
                                     param, mEntryState, [this](std::string& out) { return ClipboardText(out); });
  mConnection->Register(mEntry->GetWindow(), this);
  mEntryControl = control;
  mEntryParam = param;
}

void IGraphicsX11::CloseTextEntry(bool apply) {
  const std::string text = mEntry->Text();
  IControl* control = mEntryControl;
  const IParam* param = mEntryParam;
  mConnection->Unregister(mEntry->GetWindow());
  mEntry.reset();
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryState = kEntryIdle;
  if (apply) CommitEntryText(control, param, text.c_str());
}

void IGraphicsX11::AbortTextEntry() { mEntryState = kEntryCancel; }

void IGraphicsX11::HideCursor() {
  if (mCursorHidden || !mConnection || !mWindow) return;
  X11Connection::Guard guard(*mConnection);
  Display* display = mConnection->Display();
  const Window window = mWindow;
  Window root, child;
  int windowX, windowY;
  unsigned mask;
  XQueryPointer(display, window, &root, &child, &mHiddenAtX, &mHiddenAtY, &windowX, &windowY, &mask);
  if (!mBlankCursor) {
    const char empty[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    mBlankCursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
  }
  XDefineCursor(display, window, mBlankCursor);
  XFlush(display);
  mCursorHidden = true;
}

void IGraphicsX11::RestoreCursor() {
  if (!mCursorHidden || !mConnection) return;
  mCursorHidden = false;
  X11Connection::Guard guard(*mConnection);
  Display* display = mConnection->Display();
  if (const Window window = mWindow) {
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, mHiddenAtX, mHiddenAtY);
    XUndefineCursor(display, window);
  }
  mConnection->SyncAndTakeError();
}

PX_IBitmap* IGraphicsX11::LoadImageResource(int id, const char* name) {
  const char* dot = name ? std::strrchr(name, '.') : nullptr;
  if (!dot || strcasecmp(dot + 1, "png") != 0) return nullptr;
  return LoadPngFromResource(nullptr, id);
}
