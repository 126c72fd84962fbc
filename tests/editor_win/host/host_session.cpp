#include "tests/editor_win/host/host_session.h"

namespace {

constexpr wchar_t kFrameClass[] = L"VornCheckHostFrame";
constexpr int kFrameWidth = 900;
constexpr int kFrameHeight = 440;

struct TickTiming {
  HWND window = nullptr;
  int count = 0;
  double seconds = 0.0;
};
TickTiming gTicks;

double Seconds() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void DispatchTimed(MSG& message) {
  TranslateMessage(&message);
  if (message.message != WM_TIMER || !gTicks.window || message.hwnd != gTicks.window) {
    DispatchMessageW(&message);
    return;
  }
  const double start = Seconds();
  DispatchMessageW(&message);
  gTicks.seconds += Seconds() - start;
  ++gTicks.count;
}

// The instance being created: the host callback's first calls arrive before
// the effect record is returned.
HostSession* gCreating = nullptr;

void RegisterFrameClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = proc;
  frameClass.hInstance = GetModuleHandleW(nullptr);
  frameClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  frameClass.lpszClassName = kFrameClass;
  registered = RegisterClassW(&frameClass) != 0;
}

}  // namespace

HostSession::HostSession(const std::wstring& library) {
  mLibrary = LoadLibraryW(library.c_str());
  if (!mLibrary) {
    mError = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return;
  }
  auto entry =
      reinterpret_cast<vst2::EntryPoint>(reinterpret_cast<void (*)()>(GetProcAddress(mLibrary, "VSTPluginMain")));
  if (!entry) {
    mError = "no VSTPluginMain";
    return;
  }
  gCreating = this;
  mEffect = entry(&HostSession::HostCallback);
  gCreating = nullptr;
  if (!mEffect) {
    mError = "VSTPluginMain returned null";
    return;
  }
  mEffect->user = this;
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, kSampleRate);
  Dispatch(vst2::effSetBlockSize, 0, kBlockSize);
  Dispatch(vst2::effMainsChanged, 0, 1);

  RegisterFrameClass(&HostSession::FrameProc);
  mFrame = CreateWindowExW(0, kFrameClass, L"Vorn check host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kFrameWidth,
                           kFrameHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!mFrame) mError = "cannot create the frame window";
  Pump(50);
}

HostSession::~HostSession() {
  CloseInstance();
  if (mFrame) DestroyWindow(mFrame);
  Pump(10);
  // The library stays loaded: the process-wide caches live until exit.
}

vst2::IntPtr HostSession::Dispatch(int opcode, int index, vst2::IntPtr value, void* ptr, float opt) {
  return mEffect ? mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt) : 0;
}

bool HostSession::OpenEditor() { return Dispatch(vst2::effEditOpen, 0, 0, mFrame) != 0; }

void HostSession::CloseEditor() { Dispatch(vst2::effEditClose); }

void HostSession::CloseInstance() {
  if (!mEffect) return;
  Dispatch(vst2::effMainsChanged, 0, 0);
  Dispatch(vst2::effClose);
  mEffect = nullptr;
}

HWND HostSession::Editor() const { return mFrame ? FindWindowExW(mFrame, nullptr, L"VornWndClass", nullptr) : nullptr; }

void HostSession::Pump(int ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchTimed(message);
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= static_cast<DWORD>(ms)) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms) - elapsed, QS_ALLINPUT);
  }
}

bool HostSession::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= static_cast<DWORD>(timeoutMs)) return done();
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchTimed(message);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  return true;
}

void HostSession::TimeTicksOf(HWND window) { gTicks = {window, 0, 0.0}; }

void HostSession::TimedTicks(int& count, double& seconds) {
  count = gTicks.count;
  seconds = gTicks.seconds;
}

std::vector<HostEvent> HostSession::TakeEvents() {
  std::lock_guard<std::mutex> hold(mLock);
  std::vector<HostEvent> events;
  events.swap(mEvents);
  return events;
}

std::vector<HostEvent> HostSession::Events() {
  std::lock_guard<std::mutex> hold(mLock);
  return mEvents;
}

std::vector<std::pair<UINT, WPARAM>> HostSession::TakeFrameKeys() {
  std::vector<std::pair<UINT, WPARAM>> keys;
  keys.swap(mFrameKeys);
  return keys;
}

vst2::IntPtr VST_CALL HostSession::HostCallback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                vst2::IntPtr, void*, float opt) {
  if (opcode == vst2::audioMasterVersion) return 2400;
  HostSession* session = effect && effect->user ? static_cast<HostSession*>(effect->user) : gCreating;
  if (!session) return 0;
  if (opcode == vst2::audioMasterAutomate || opcode == vst2::audioMasterBeginEdit ||
      opcode == vst2::audioMasterEndEdit) {
    std::lock_guard<std::mutex> hold(session->mLock);
    session->mEvents.push_back({opcode, index, opt});
  }
  return 0;
}

LRESULT CALLBACK HostSession::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* session = reinterpret_cast<HostSession*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (session && (message == WM_KEYDOWN || message == WM_KEYUP)) {
    session->mFrameKeys.emplace_back(message, wParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
