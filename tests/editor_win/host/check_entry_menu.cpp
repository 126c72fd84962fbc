// The text entry and the pop-up menu, driven by posted keys: digits and
// Return apply at the next tick, a letter is swallowed, Escape and the wheel
// discard, a click elsewhere applies; a choice in a sub-menu reaches the
// parameter inside the button's edit gesture.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"
#include "tests/editor_win/host/menu_driver.h"

namespace {

constexpr int kPaintTimeoutMs = 5000;
constexpr int kSettleMs = 60;
// A few ticks: the entry is applied or dropped at the next one.
constexpr int kTickWaitMs = 200;
constexpr int kMenuWaitMs = 1500;
constexpr float kSameValue = 1e-6f;

struct EntrySession {
  explicit EntrySession(HostContext& context) : host(context.library) {
    if (!host.Ready() || !host.OpenEditor()) return;
    editor = host.Editor();
    HostSession::PumpUntil([&] { return !GetUpdateRect(editor, nullptr, FALSE); }, kPaintTimeoutMs);
  }
  float Value(int index) { return host.Effect()->getParameter(host.Effect(), index); }
  void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageW(window, message, wParam, lParam);
    HostSession::Pump(kSettleMs);
  }
  // Right-click on the knob: its value prompt opens the entry.
  HWND OpenEntry() {
    const int x = (editor_check::kKnobBox.left + editor_check::kKnobBox.right) / 2;
    Post(editor, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(x, 150));
    Post(editor, WM_RBUTTONUP, 0, PointParam(x, 150));
    return GetDlgItem(editor, 99);
  }
  void Type(HWND entry, const char* text) {
    for (const char* c = text; *c; ++c) PostMessageW(entry, WM_CHAR, static_cast<WPARAM>(*c), 1);
    HostSession::Pump(kSettleMs);
  }
  std::string EntryText(HWND entry) {
    wchar_t text[64] = {};
    GetWindowTextW(entry, text, 64);
    std::string narrow;
    for (const wchar_t* c = text; *c; ++c) narrow += static_cast<char>(*c);
    return narrow;
  }
  bool EntryGone() { return GetDlgItem(editor, 99) == nullptr; }

  HostSession host;
  HWND editor = nullptr;
};

std::string Figure(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  return text;
}

}  // namespace

void CheckTextEntry(HostContext& context) {
  Report& report = *context.report;
  EntrySession session(context);
  if (!report.Check("entry editor", session.editor != nullptr, session.host.Error())) return;
  const int param = editor_check::kKnobParam;

  HWND entry = session.OpenEntry();
  wchar_t className[16] = {};
  if (entry) GetClassNameW(entry, className, 16);
  const std::string shown = entry ? session.EntryText(entry) : "";
  // The right-click that opened it is a whole gesture of the knob.
  std::vector<HostEvent> events = session.host.TakeEvents();
  const bool gesture = events.size() == 2 && events[0].opcode == vst2::audioMasterBeginEdit &&
                       events[1].opcode == vst2::audioMasterEndEdit && events[0].index == param &&
                       events[1].index == param;
  report.Check("entry opens", entry && lstrcmpiW(className, L"Edit") == 0 && !shown.empty() && gesture,
               "an EDIT control holding \"" + shown + "\", " + std::to_string(events.size()) +
                   " host events from the right-click");
  if (!entry) return;
  session.Type(entry, "x4q2");
  const std::string typed = session.EntryText(entry);
  session.Post(entry, WM_KEYDOWN, VK_RETURN, 1);
  HostSession::Pump(kTickWaitMs);
  events = session.host.TakeEvents();
  const float applied = session.Value(param);
  report.Check("entry: digits and Return",
               typed == "42" && session.EntryGone() && events.size() == 1 &&
                   events[0].opcode == vst2::audioMasterAutomate && std::fabs(applied - 0.42f) < kSameValue,
               "typed \"x4q2\", the field held \"" + typed + "\", value " + Figure(applied));

  entry = session.OpenEntry();
  session.host.TakeEvents();
  if (entry) session.Type(entry, "77");
  if (entry) session.Post(entry, WM_KEYDOWN, VK_ESCAPE, 1);
  HostSession::Pump(kTickWaitMs);
  events = session.host.TakeEvents();
  report.Check("entry: Escape discards",
               entry && session.EntryGone() && events.empty() && std::fabs(session.Value(param) - applied) < kSameValue,
               "value " + Figure(session.Value(param)));

  entry = session.OpenEntry();
  session.host.TakeEvents();
  if (entry) session.Type(entry, "30");
  session.Post(session.editor, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(700, 330));
  session.Post(session.editor, WM_LBUTTONUP, 0, PointParam(700, 330));
  HostSession::Pump(kTickWaitMs);
  report.Check("entry: a click elsewhere applies",
               entry && session.EntryGone() && std::fabs(session.Value(param) - 0.30f) < kSameValue,
               "value " + Figure(session.Value(param)));

  entry = session.OpenEntry();
  if (entry) session.Type(entry, "90");
  const POINT screen = EditorToScreen(session.editor, 700, 330);
  session.Post(session.editor, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), PointParam(screen.x, screen.y));
  HostSession::Pump(kTickWaitMs);
  report.Check("entry: the wheel discards",
               entry && session.EntryGone() && std::fabs(session.Value(param) - 0.30f) < kSameValue,
               "value " + Figure(session.Value(param)));
}

void CheckMenu(HostContext& context) {
  Report& report = *context.report;
  EntrySession session(context);
  if (!report.Check("menu editor", session.editor != nullptr, session.host.Error())) return;
  const int param = editor_check::kMenuParam;
  const IBox& button = editor_check::kMenuBox;
  const LPARAM at = PointParam(button.left + 10, button.top + 10);
  session.host.TakeEvents();
  bool fired = false;
  {
    // Up from nothing selects the last item ("03: Wave"), Right opens its
    // sub-menu on the first choice, Down moves to the second, Return picks it.
    MenuDriver driver(session.editor, {VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN});
    PostMessageW(session.editor, WM_LBUTTONDOWN, MK_LBUTTON, at);
    HostSession::Pump(kMenuWaitMs);
    fired = driver.Fired();
  }
  session.Post(session.editor, WM_LBUTTONUP, 0, at);
  const std::vector<HostEvent> events = session.host.TakeEvents();
  const float second = static_cast<float>(1.0 / 2.0);
  const bool gesture = events.size() == 3 && events[0].opcode == vst2::audioMasterBeginEdit &&
                       events[1].opcode == vst2::audioMasterAutomate && events[2].opcode == vst2::audioMasterEndEdit &&
                       events[0].index == param && events[1].index == param && events[2].index == param;
  report.Check("menu: a choice in a sub-menu",
               fired && gesture && std::fabs(session.Value(param) - second) < kSameValue,
               std::to_string(events.size()) + " host events, value " + Figure(session.Value(param)));
}
