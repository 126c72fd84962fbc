// The pointer and the keys through real window messages: a drag on the knob
// brackets its automation in begin/end edit gestures, the wheel moves it by
// whole notches only, a double-click restores its default, arrow keys over it
// move it, and every key the editor does not take reaches the host's window.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"

namespace {

constexpr int kPaintTimeoutMs = 5000;
constexpr int kSettleMs = 60;
constexpr float kSameValue = 1e-6f;

std::string Describe(const std::vector<HostEvent>& events) {
  std::string text;
  char item[48];
  for (const HostEvent& event : events) {
    if (event.opcode == vst2::audioMasterBeginEdit) std::snprintf(item, sizeof item, "begin %d ", event.index);
    if (event.opcode == vst2::audioMasterEndEdit) std::snprintf(item, sizeof item, "end %d ", event.index);
    if (event.opcode == vst2::audioMasterAutomate) {
      std::snprintf(item, sizeof item, "automate %d=%.4f ", event.index, event.value);
    }
    text += item;
  }
  return text.empty() ? "nothing" : text;
}

std::vector<HostEvent> Automations(const std::vector<HostEvent>& events, int index) {
  std::vector<HostEvent> found;
  for (const HostEvent& event : events) {
    if (event.opcode == vst2::audioMasterAutomate && event.index == index) found.push_back(event);
  }
  return found;
}

// A gesture: begin, at least one automation with rising values, end; all of
// the parameter, and the last value is where the parameter now is.
bool IsRisingGesture(const std::vector<HostEvent>& events, int index, float now) {
  if (events.size() < 3) return false;
  if (events.front().opcode != vst2::audioMasterBeginEdit || events.back().opcode != vst2::audioMasterEndEdit) {
    return false;
  }
  float last = -1.0f;
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].index != index) return false;
    if (i == 0 || i + 1 == events.size()) continue;
    if (events[i].opcode != vst2::audioMasterAutomate || events[i].value <= last) return false;
    last = events[i].value;
  }
  return std::fabs(last - now) < kSameValue;
}

struct OpenEditor {
  explicit OpenEditor(HostContext& context) : host(context.library) {
    if (!host.Ready() || !host.OpenEditor()) return;
    editor = host.Editor();
    HostSession::PumpUntil([&] { return !GetUpdateRect(editor, nullptr, FALSE); }, kPaintTimeoutMs);
    host.TakeEvents();
  }
  float Value(int index) { return host.Effect()->getParameter(host.Effect(), index); }
  void Post(UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageW(editor, message, wParam, lParam);
    HostSession::Pump(kSettleMs);
  }

  HostSession host;
  HWND editor = nullptr;
};

}  // namespace

void CheckPointer(HostContext& context) {
  Report& report = *context.report;
  OpenEditor session(context);
  if (!report.Check("pointer editor", session.editor != nullptr, session.host.Error())) return;
  const int param = editor_check::kKnobParam;
  const IBox& knob = editor_check::kKnobBox;
  const int x = (knob.left + knob.right) / 2;
  const float initial = session.Value(param);

  session.Post(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, 200));
  session.Post(WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, 180));
  session.Post(WM_MOUSEMOVE, MK_LBUTTON, PointParam(x, 160));
  session.Post(WM_LBUTTONUP, 0, PointParam(x, 160));
  std::vector<HostEvent> events = session.host.TakeEvents();
  const float dragged = session.Value(param);
  report.Check("drag", IsRisingGesture(events, param, dragged) && dragged > initial,
               Describe(events) + "from " + std::to_string(initial));

  const POINT screen = EditorToScreen(session.editor, x, 150);
  const LPARAM at = PointParam(screen.x, screen.y);
  session.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), at);
  std::vector<HostEvent> up = session.host.TakeEvents();
  session.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), at);
  std::vector<HostEvent> partial = session.host.TakeEvents();
  session.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), at);
  std::vector<HostEvent> down = session.host.TakeEvents();
  // A partial notch is a wheel of no steps: the value stays (the knob may
  // still report it, unchanged).
  const bool notches =
      Automations(up, param).size() == 1 && up.size() == 1 && Automations(down, param).size() == 1 && down.size() == 1;
  bool partialStays = notches;
  for (const HostEvent& event : partial) partialStays = partialStays && event.value == up[0].value;
  const bool wheelOk = notches && partialStays && up[0].value > dragged && down[0].value < up[0].value &&
                       std::fabs(session.Value(param) - down[0].value) < kSameValue;
  report.Check("wheel", wheelOk, "+120: " + Describe(up) + "; +60: " + Describe(partial) + "; -240: " + Describe(down));

  session.Post(WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(x, 150));
  session.Post(WM_LBUTTONUP, 0, PointParam(x, 150));
  events = session.host.TakeEvents();
  const std::vector<HostEvent> restored = Automations(events, param);
  report.Check("double-click", restored.size() == 1 && std::fabs(restored[0].value - initial) < kSameValue,
               Describe(events) + "default " + std::to_string(initial));
}

void CheckKeys(HostContext& context) {
  Report& report = *context.report;
  OpenEditor session(context);
  if (!report.Check("keys editor", session.editor != nullptr, session.host.Error())) return;
  const IBox& knob = editor_check::kKnobBox;
  const POINT over = EditorToScreen(session.editor, (knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2);
  SetCursorPos(over.x, over.y);
  session.host.TakeFrameKeys();

  if (context.checkLayout) {
    const float before = session.Value(editor_check::kKnobParam);
    session.Post(WM_KEYDOWN, VK_UP, 1);
    const std::vector<HostEvent> events = session.host.TakeEvents();
    const auto frameKeys = session.host.TakeFrameKeys();
    report.Check(
        "key taken by a control",
        Automations(events, editor_check::kKnobParam).size() == 1 && events[0].value > before && frameKeys.empty(),
        "arrow up over the knob: " + Describe(events) + ", " + std::to_string(frameKeys.size()) + " keys at the host");
  }
  // 'A' is mapped but no control takes it; F5 and Escape have no editor code.
  const WPARAM passed[] = {'A', VK_F5, VK_ESCAPE};
  std::string seen;
  bool allPassed = true;
  for (WPARAM key : passed) {
    session.Post(WM_KEYDOWN, key, 1);
    session.Post(WM_KEYUP, key, 1);
    const auto frameKeys = session.host.TakeFrameKeys();
    const bool ok = frameKeys.size() == 2 && frameKeys[0].first == WM_KEYDOWN && frameKeys[0].second == key &&
                    frameKeys[1].first == WM_KEYUP && frameKeys[1].second == key;
    allPassed = allPassed && ok;
    seen += std::to_string(key) + (ok ? " reached the host; " : " did not reach the host; ");
  }
  const std::vector<HostEvent> events = session.host.TakeEvents();
  report.Check("keys not taken reach the host", allPassed && events.empty(), seen + Describe(events));
}
