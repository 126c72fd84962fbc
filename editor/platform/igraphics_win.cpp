#include "editor/platform/igraphics_win.h"

#include <windows.h>
#include <windowsx.h>

#include <cctype>
#include <cstring>
#include <mutex>

#include "editor/icontrol.h"
#include "editor/ikey_codes.h"
#include "raster/px_png.h"

namespace {

constexpr wchar_t kClassName[] = L"VornWndClass";
constexpr wchar_t kWindowName[] = L"Vorn";

// The window class is registered while any editor window is open; the timer
// period follows the frame rate of the most recently opened editor.
struct WindowClassUse {
  std::mutex lock;
  int openWindows = 0;
  int timerRate = IGraphics::kDefaultFrameRate;
};

WindowClassUse& ClassUse() {
  static WindowClassUse use;
  return use;
}

HINSTANCE InstanceOf(void* module) { return module ? static_cast<HINSTANCE>(module) : GetModuleHandleW(nullptr); }

IGraphicsWin* EditorOf(HWND window) {
  return reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  IGraphicsWin* editor = EditorOf(window);
  if (!editor) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_CREATE || editor->NativeWindow() == window) {
    return editor->HandleMessage(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return DefWindowProcW(window, message, wParam, lParam);
}

IMouseMods ModsOf(WPARAM wParam) {
  const WORD keys = LOWORD(wParam);
  IMouseMods mods;
  mods.left = (keys & MK_LBUTTON) != 0;
  mods.right = (keys & MK_RBUTTON) != 0;
  mods.shift = (keys & MK_SHIFT) != 0;
  mods.control = (keys & MK_CONTROL) != 0;
  mods.alt = GetKeyState(VK_MENU) < 0;
  return mods;
}

bool IsMouseInput(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE ||
         (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

}  // namespace

IGraphicsWin::IGraphicsWin(PluginBase* plugin, void* module) : IGraphics(plugin), mModule(module) {}

IGraphicsWin::~IGraphicsWin() {
  Close();
  delete[] mCustomColours;
}

void IGraphicsWin::RegisterWindowUse() {
  WindowClassUse& use = ClassUse();
  std::lock_guard<std::mutex> hold(use.lock);
  if (use.openWindows == 0) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = EditorWindowProc;
    windowClass.hInstance = InstanceOf(mModule);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
  }
  ++use.openWindows;
  use.timerRate = FrameRate() > 0 ? FrameRate() : kDefaultFrameRate;
  mHoldsClass = true;
}

void IGraphicsWin::ReleaseWindowUse() {
  if (!mHoldsClass) return;
  mHoldsClass = false;
  WindowClassUse& use = ClassUse();
  std::lock_guard<std::mutex> hold(use.lock);
  if (--use.openWindows == 0) UnregisterClassW(kClassName, InstanceOf(mModule));
}

bool IGraphicsWin::Open(void* parentWindow) {
  HWND parent = static_cast<HWND>(parentWindow);
  mParentWindow = parent;
  int x = 0;
  int y = 0;
  int width = Width();
  int height = Height();
  if (mWindow) {
    RECT box;
    GetWindowRect(mWindow, &box);
    MapWindowPoints(nullptr, GetParent(mWindow), reinterpret_cast<POINT*>(&box), 2);
    x = box.left;
    y = box.top;
    width = box.right - box.left;
    height = box.bottom - box.top;
    Close();
  }
  RegisterWindowUse();
  HWND created = CreateWindowExW(0, kClassName, kWindowName, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                 nullptr, InstanceOf(mModule), this);
  if (!created) {
    mWindow = nullptr;
    ReleaseWindowUse();
    MarkAllDirty();
    return false;
  }
  MarkAllDirty();
  return true;
}

void IGraphicsWin::Close() {
  EndTextEntry(false);
  RestoreCursor();
  if (mWindow) {
    HWND window = mWindow;
    if (IsWindow(window)) DestroyWindow(window);
    mWindow = nullptr;
  }
  ReleaseWindowUse();
}

void IGraphicsWin::Resize(int width, int height) {
  if (width == Width() && height == Height()) return;
  const int dw = width - Width();
  const int dh = height - Height();
  IGraphics::Resize(width, height);
  if (!mWindow) return;
  const UINT sizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  auto grow = [&](HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    SetWindowPos(window, nullptr, 0, 0, box.right - box.left + dw, box.bottom - box.top + dh, sizeOnly);
  };
  auto isChild = [](HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR extended = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return (style & WS_CHILD) != 0 && (extended & WS_EX_MDICHILD) == 0;
  };
  HWND parent = nullptr;
  HWND grandparent = nullptr;
  if (isChild(mWindow)) {
    parent = GetParent(mWindow);
    if (parent && isChild(parent)) grandparent = GetParent(parent);
  }
  grow(mWindow);
  if (parent) grow(parent);
  if (grandparent) grow(grandparent);
  RECT all{0, 0, width, height};
  InvalidateRect(mWindow, &all, FALSE);
}

bool IGraphicsWin::PresentBox(const IBox& box) {
  if (!mWindow) return false;
  PX_IBitmap* bitmap = DrawBitmapSurface();
  HDC source = bitmap ? static_cast<HDC>(bitmap->DeviceContext()) : nullptr;
  PAINTSTRUCT paint;
  HDC target = BeginPaint(mWindow, &paint);
  if (target && source) {
    BitBlt(target, box.left, box.top, box.Width(), box.Height(), source, box.left, box.top, SRCCOPY);
  }
  EndPaint(mWindow, &paint);
  return true;
}

void IGraphicsWin::AbortTextEntry() {
  if (mEntryWindow) mEntryState = kEntryCancel;
}

void IGraphicsWin::OnTimerTick() {
  if (mEntryWindow && mEntryState != kEntryIdle) {
    if (mEntryState == kEntryCancel || mEntryState == kEntryCommit) {
      EndTextEntry(mEntryState == kEntryCommit);
    } else {
      mEntryState = kEntryIdle;
    }
    return;
  }
  IBox dirty;
  if (!CollectDirtyArea(dirty)) return;
  RECT area{dirty.left, dirty.top, dirty.right, dirty.bottom};
  InvalidateRect(mWindow, &area, FALSE);
  if (mEntryWindow) {
    RECT entry;
    GetWindowRect(mEntryWindow, &entry);
    MapWindowPoints(nullptr, mWindow, reinterpret_cast<POINT*>(&entry), 2);
    ValidateRect(mWindow, &entry);
    UpdateWindow(mWindow);
    mEntryState = kEntryDrawnAround;
  } else {
    UpdateWindow(mWindow);
  }
}

std::intptr_t IGraphicsWin::HandleMessage(HWND__* window, unsigned message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
  // While a fresh entry holds the focus, a press anywhere in the editor
  // cancels it and other input is left alone; drawing and ticks go on.
  if (mEntryWindow && mEntryState == kEntryFocused && IsMouseInput(message)) {
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) mEntryState = kEntryCancel;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_CREATE: {
      mWindow = window;
      int rate = kDefaultFrameRate;
      {
        WindowClassUse& use = ClassUse();
        std::lock_guard<std::mutex> hold(use.lock);
        rate = use.timerRate;
      }
      SetTimer(window, kTimerId, static_cast<UINT>(1000 / rate), nullptr);
      SetFocus(window);
      return 0;
    }
    case WM_DESTROY:
      // Also when the host destroys its window first: no entry, tick or
      // capture may outlive the window.
      EndTextEntry(false);
      KillTimer(window, kTimerId);
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      mWindow = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return 0;
    case WM_PAINT: {
      RECT update;
      if (GetUpdateRect(window, &update, FALSE)) {
        Draw({update.left, update.top, update.right, update.bottom});
      }
      // An editor without controls presents nothing; the area is still done.
      ValidateRect(window, nullptr);
      return 0;
    }
    case WM_CLOSE: Close(); return 0;
    case WM_KEYDOWN: {
      const int key = IKeyCodeFromVirtualKey(static_cast<int>(wParam));
      if (key != kKeyUnmapped) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(window, &cursor);
        if (OnKeyDown(cursor.x, cursor.y, key)) return 0;
      }
      HWND host = GetAncestor(window, GA_ROOT);
      if (host && host != window) return SendMessageW(host, message, wParam, lParam);
      return 0;
    }
    case WM_KEYUP: {
      HWND host = GetAncestor(window, GA_ROOT);
      if (host && host != window) return SendMessageW(host, message, wParam, lParam);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kTimerId) OnTimerTick();
      return 0;
    case WM_CTLCOLOREDIT: return EntryColours(reinterpret_cast<void*>(wParam));
    case WM_MOUSEMOVE:
      if (wParam & (MK_LBUTTON | MK_RBUTTON)) {
        if (GetCapture() == window && !mEntryWindow) OnMouseDrag(x, y, ModsOf(wParam));
      } else if (OnMouseOver(x, y, ModsOf(wParam))) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (mEntryWindow) {
        mEntryState = kEntryCommit;
        return 0;
      }
      SetFocus(window);
      SetCapture(window);
      OnMouseDown(x, y, ModsOf(wParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      ReleaseCapture();
      OnMouseUp(x, y, ModsOf(wParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      if (OnMouseDblClick(x, y, ModsOf(wParam))) SetCapture(window);
      return 0;
    case WM_MOUSEWHEEL: {
      if (mEntryWindow) {
        mEntryState = kEntryCancel;
        return 0;
      }
      const int steps = GET_WHEEL_DELTA_WPARAM(wParam) / kWheelDelta;
      RECT box;
      GetWindowRect(window, &box);
      OnMouseWheel(x - box.left, y - box.top, ModsOf(wParam), steps);
      return 0;
    }
    case WM_MOUSELEAVE: OnMouseOut(); return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void IGraphicsWin::HideCursor() {
  if (mCursorHidden) return;
  POINT position{};
  GetCursorPos(&position);
  mHiddenCursorX = position.x;
  mHiddenCursorY = position.y;
  ShowCursor(FALSE);
  mCursorHidden = true;
}

void IGraphicsWin::RestoreCursor() {
  if (!mCursorHidden) return;
  SetCursorPos(mHiddenCursorX, mHiddenCursorY);
  ShowCursor(TRUE);
  mCursorHidden = false;
}

PX_IBitmap* IGraphicsWin::LoadImageResource(int id, const char* name) {
  const char* dot = name ? std::strrchr(name, '.') : nullptr;
  if (!dot) return nullptr;
  const char* extension = dot + 1;
  if (std::strlen(extension) != 3) return nullptr;
  const char* png = "png";
  for (int i = 0; i < 3; ++i) {
    if (std::tolower(static_cast<unsigned char>(extension[i])) != png[i]) return nullptr;
  }
  return LoadPngFromResource(mModule, id);
}
