// The chaos host's window on Windows: a top-level window of the host's
// user-interface thread, and input through SendInput, which the system
// queues as it queues a user's (to the window under the cursor, to the
// capture, to the focus, with double-clicks made by the system). Pop-up
// menus run their own loop on this thread; a thread timer ends any menu a
// click opened, so the host's thread always comes back.
#include <windows.h>

#include <set>

#include "tests/chaos/chaos_window.h"

namespace {

constexpr wchar_t kParentClass[] = L"VornChaosHost";
constexpr int kParentX = 60;
constexpr int kParentY = 40;
// How long a pop-up menu may stay open before the host's timer ends it.
constexpr UINT kMenuLifeMs = 400;

WORD VirtualKeyOf(ChaosKey key, char character) {
  switch (key) {
    case ChaosKey::kEscape: return VK_ESCAPE;
    case ChaosKey::kReturn: return VK_RETURN;
    case ChaosKey::kTab: return VK_TAB;
    case ChaosKey::kBackspace: return VK_BACK;
    case ChaosKey::kDelete: return VK_DELETE;
    case ChaosKey::kLeft: return VK_LEFT;
    case ChaosKey::kRight: return VK_RIGHT;
    case ChaosKey::kUp: return VK_UP;
    case ChaosKey::kDown: return VK_DOWN;
    case ChaosKey::kHome: return VK_HOME;
    case ChaosKey::kEnd: return VK_END;
    case ChaosKey::kSpace: return VK_SPACE;
    case ChaosKey::kCharacter:
      // Virtual keys of letters are the capitals.
      return static_cast<WORD>(character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character);
    case ChaosKey::kMinus: return VK_OEM_MINUS;
    case ChaosKey::kPeriod: return VK_OEM_PERIOD;
    case ChaosKey::kShift: return VK_SHIFT;
    case ChaosKey::kControl: return VK_CONTROL;
    case ChaosKey::kAlt: return VK_MENU;
  }
  return VK_SPACE;
}

DWORD ButtonFlag(int button, bool down) {
  switch (button) {
    case kLeftButton: return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    case kRightButton: return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    default: return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
  }
}

void SendMouse(DWORD flags, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.mouseData = data;
  SendInput(1, &input, sizeof(INPUT));
}

void SendKey(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
}

VOID CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

}  // namespace

struct ChaosWindow::State {
  HWND parent = nullptr;
  UINT_PTR menuTimer = 0;
  std::set<int> heldButtons;
  std::set<WORD> heldKeys;
};

std::unique_ptr<ChaosWindow> ChaosWindow::Connect(std::string& why) {
  WNDCLASSW parentClass{};
  parentClass.lpfnWndProc = DefWindowProcW;
  parentClass.hInstance = GetModuleHandleW(nullptr);
  parentClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  parentClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  parentClass.lpszClassName = kParentClass;
  if (!RegisterClassW(&parentClass)) {
    why = "cannot register the host's window class";
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->menuTimer = SetTimer(nullptr, 0, kMenuLifeMs, EndAnyMenu);
  return std::unique_ptr<ChaosWindow>(new ChaosWindow(std::move(state)));
}

ChaosWindow::ChaosWindow(std::unique_ptr<State> state) : state_(std::move(state)) {}

ChaosWindow::~ChaosWindow() {
  ReleaseAll();
  DestroyParent();
  KillTimer(nullptr, state_->menuTimer);
  UnregisterClassW(kParentClass, GetModuleHandleW(nullptr));
}

void* ChaosWindow::CreateParent(int width, int height) {
  DestroyParent();
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  RECT frame{0, 0, width, height};
  AdjustWindowRect(&frame, style, FALSE);
  state_->parent = CreateWindowExW(0, kParentClass, L"vorn-chaos", style, kParentX, kParentY, frame.right - frame.left,
                                   frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!state_->parent) return nullptr;
  SetForegroundWindow(state_->parent);
  Pump(0);
  return state_->parent;
}

void ChaosWindow::DestroyParent() {
  if (!state_->parent) return;
  DestroyWindow(state_->parent);
  state_->parent = nullptr;
}

bool ChaosWindow::HasParent() const { return state_->parent != nullptr; }

int ChaosWindow::ChildWindows() {
  int count = 0;
  for (HWND child = state_->parent ? FindWindowExW(state_->parent, nullptr, nullptr, nullptr) : nullptr; child;
       child = FindWindowExW(state_->parent, child, nullptr, nullptr))
    ++count;
  return count;
}

void ChaosWindow::Pump(int ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= static_cast<DWORD>(ms)) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms) - elapsed, QS_ALLINPUT);
  }
}

void ChaosWindow::MoveTo(int x, int y) {
  POINT point{x, y};
  if (state_->parent) ClientToScreen(state_->parent, &point);
  SetCursorPos(point.x, point.y);
  SendMouse(MOUSEEVENTF_MOVE);
}

void ChaosWindow::Button(int button, bool down) {
  if (down == (state_->heldButtons.count(button) > 0)) return;
  SendMouse(ButtonFlag(button, down));
  if (down)
    state_->heldButtons.insert(button);
  else
    state_->heldButtons.erase(button);
}

void ChaosWindow::Wheel(int steps) { SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(steps * WHEEL_DELTA)); }

void ChaosWindow::Key(ChaosKey key, char character, bool down) {
  const WORD code = VirtualKeyOf(key, character);
  if (down == (state_->heldKeys.count(code) > 0)) return;
  SendKey(code, down);
  if (down)
    state_->heldKeys.insert(code);
  else
    state_->heldKeys.erase(code);
}

void ChaosWindow::ReleaseAll() {
  for (int button : state_->heldButtons) SendMouse(ButtonFlag(button, false));
  for (WORD key : state_->heldKeys) SendKey(key, false);
  state_->heldButtons.clear();
  state_->heldKeys.clear();
}
