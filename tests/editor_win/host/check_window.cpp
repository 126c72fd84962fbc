// The editor window itself: its size from effEditGetRect, its class, name and
// size after effEditOpen, the time to the first complete paint, re-opening in
// place, and the CPU an idle tick costs.
#include <cstdio>
#include <string>

#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"

namespace {

constexpr int kEditorWidth = 832;
constexpr int kEditorHeight = 376;
constexpr int kPaintTimeoutMs = 5000;
constexpr int kIdleSettleMs = 400;
constexpr int kIdleMeasureMs = 8000;
constexpr int kTickMs = 40;

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
  return out;
}

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) *
           1e-7;
  };
  return seconds(kernel) + seconds(user);
}

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct IdleCost {
  double cpuSeconds;
  double ticks;
};

IdleCost MeasureIdle() {
  const double cpuBefore = ThreadCpuSeconds();
  const double wallBefore = NowMs();
  HostSession::Pump(kIdleMeasureMs);
  return {ThreadCpuSeconds() - cpuBefore, (NowMs() - wallBefore) / kTickMs};
}

}  // namespace

POINT EditorToScreen(HWND editor, int x, int y) {
  POINT point{x, y};
  ClientToScreen(editor, &point);
  return point;
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void CheckWindow(HostContext& context) {
  Report& report = *context.report;
  HostSession host(context.library);
  if (!report.Check("instance", host.Ready(), host.Ready() ? "created" : host.Error())) return;

  vst2::ERect* rect = nullptr;
  const bool hasEditor = (host.Effect()->flags & vst2::effFlagsHasEditor) != 0;
  const auto answered = host.Dispatch(vst2::effEditGetRect, 0, 0, &rect);
  char text[256];
  std::snprintf(text, sizeof text, "editor flag %d, answer %d, %d x %d", hasEditor, static_cast<int>(answered),
                rect ? rect->right - rect->left : -1, rect ? rect->bottom - rect->top : -1);
  report.Check("effEditGetRect",
               hasEditor && answered == 1 && rect && rect->right - rect->left == kEditorWidth &&
                   rect->bottom - rect->top == kEditorHeight,
               text);

  const double opened = NowMs();
  const bool open = host.OpenEditor();
  HWND editor = host.Editor();
  wchar_t className[64] = {};
  wchar_t name[64] = {};
  RECT client{};
  if (editor) {
    GetClassNameW(editor, className, 64);
    GetWindowTextW(editor, name, 64);
    GetClientRect(editor, &client);
  }
  std::snprintf(text, sizeof text, "answer %d, class \"%s\", name \"%s\", %ld x %ld, child %d", open,
                Narrow(className).c_str(), Narrow(name).c_str(), client.right, client.bottom,
                editor ? (GetWindowLongPtrW(editor, GWL_STYLE) & WS_CHILD) != 0 : 0);
  const bool windowOk = open && editor && std::wstring(className) == L"VornWndClass" && std::wstring(name) == L"Vorn" &&
                        client.right == kEditorWidth && client.bottom == kEditorHeight &&
                        GetParent(editor) == host.Frame();
  if (!report.Check("editor window", windowOk, text)) return;

  const bool painted = HostSession::PumpUntil([&] { return !GetUpdateRect(editor, nullptr, FALSE); }, kPaintTimeoutMs);
  const double firstPaint = NowMs() - opened;
  std::snprintf(text, sizeof text, "%.1f ms", firstPaint);
  report.Check("first paint", painted, text);
  report.Figure("effEditOpen to first complete paint", text);

  // Re-opening an open editor keeps the place and size it has.
  SetWindowPos(editor, nullptr, 12, 20, kEditorWidth - 40, kEditorHeight - 30, SWP_NOZORDER | SWP_NOACTIVATE);
  host.OpenEditor();
  HWND reopened = host.Editor();
  RECT box{};
  if (reopened) {
    GetWindowRect(reopened, &box);
    MapWindowPoints(nullptr, host.Frame(), reinterpret_cast<POINT*>(&box), 2);
  }
  const int editors = reopened && FindWindowExW(host.Frame(), reopened, L"VornWndClass", nullptr) == nullptr;
  std::snprintf(text, sizeof text, "at (%ld, %ld), %ld x %ld, one editor window %d", box.left, box.top,
                box.right - box.left, box.bottom - box.top, editors);
  report.Check("re-open in place",
               reopened && box.left == 12 && box.top == 20 && box.right - box.left == kEditorWidth - 40 &&
                   box.bottom - box.top == kEditorHeight - 30 && editors,
               text);

  // Idle: nothing dirty, the timer still ticks. The same wait with the
  // editor closed measures what the host's own waiting costs under Wine.
  HostSession::Pump(kIdleSettleMs);
  HostSession::TimeTicksOf(reopened);
  const IdleCost withEditor = MeasureIdle();
  int tickCount = 0;
  double tickSeconds = 0.0;
  HostSession::TimedTicks(tickCount, tickSeconds);
  HostSession::TimeTicksOf(nullptr);
  host.CloseEditor();
  report.Check("closed", host.Editor() == nullptr,
               host.Editor() ? "the editor window is still there" : "no window left");
  const IdleCost closed = MeasureIdle();
  std::snprintf(text, sizeof text,
                "%.1f us per tick (%.0f ms CPU over %.0f ticks; with the editor closed %.1f us per "
                "40 ms)",
                (withEditor.cpuSeconds / withEditor.ticks - closed.cpuSeconds / closed.ticks) * 1e6,
                withEditor.cpuSeconds * 1e3, withEditor.ticks, closed.cpuSeconds / closed.ticks * 1e6);
  report.Figure("CPU per idle tick (thread times)", text);
  std::snprintf(text, sizeof text, "%.1f us per tick (%d ticks)", tickCount ? tickSeconds * 1e6 / tickCount : 0.0,
                tickCount);
  report.Figure("idle tick handler time", text);
}
