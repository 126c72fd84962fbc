// Opening and closing under load: 50 open/close cycles while another thread
// renders and automates; closing with a text entry or a menu open; destroying
// the plug-in with an entry open; two instances closing in either order. After
// each, no window, entry or timer may be left, and the window class is
// registered exactly while some editor is open.
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"
#include "tests/editor_win/host/menu_driver.h"

namespace {

constexpr int kCycles = 50;
constexpr int kPaintTimeoutMs = 5000;
// Long enough for a late tick of a window that should be gone to fire.
constexpr int kAfterCloseMs = 200;
constexpr int kMenuWaitMs = 1500;

bool ClassRegistered(HMODULE library) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  return GetClassInfoExW(library, L"VornWndClass", &info) != 0;
}

bool NothingLeft(HostSession& host) { return FindWindowExW(host.Frame(), nullptr, nullptr, nullptr) == nullptr; }

// Renders blocks and moves parameters on its own thread until stopped.
class AudioThread {
 public:
  explicit AudioThread(vst2::AEffect* effect) : mEffect(effect), mThread([this] { Run(); }) {}
  ~AudioThread() { Stop(); }
  long Stop() {
    mStop = true;
    if (mThread.joinable()) mThread.join();
    return mBlocks;
  }

 private:
  void Run() {
    std::vector<float> left(HostSession::kBlockSize), right(HostSession::kBlockSize);
    float* outputs[2] = {left.data(), right.data()};
    for (int i = 0; !mStop; ++i) {
      mEffect->processReplacing(mEffect, outputs, outputs, HostSession::kBlockSize);
      mEffect->setParameter(mEffect, i % mEffect->numParams, static_cast<float>(i % 11) / 10.0f);
      ++mBlocks;
    }
  }

  vst2::AEffect* mEffect;
  std::atomic<bool> mStop{false};
  std::atomic<long> mBlocks{0};
  std::thread mThread;
};

void RightClickKnob(HWND editor) {
  const int x = (editor_check::kKnobBox.left + editor_check::kKnobBox.right) / 2;
  PostMessageW(editor, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(x, 150));
  PostMessageW(editor, WM_RBUTTONUP, 0, PointParam(x, 150));
  HostSession::Pump(100);
}

void CheckTwoInstances(HostContext& context, bool firstClosesFirst) {
  Report& report = *context.report;
  HostSession a(context.library);
  HostSession b(context.library);
  if (!a.Ready() || !b.Ready() || !a.OpenEditor() || !b.OpenEditor()) {
    report.Check("two instances", false, "cannot open both editors");
    return;
  }
  HostSession::Pump(100);
  HostSession& first = firstClosesFirst ? a : b;
  HostSession& second = firstClosesFirst ? b : a;
  first.CloseEditor();
  HostSession::Pump(100);
  const bool stillRegistered = ClassRegistered(a.Library());
  const bool otherAlive = second.Editor() != nullptr;
  InvalidateRect(second.Editor(), nullptr, FALSE);
  const bool otherPaints =
      HostSession::PumpUntil([&] { return !GetUpdateRect(second.Editor(), nullptr, FALSE); }, kPaintTimeoutMs);
  second.CloseEditor();
  HostSession::Pump(kAfterCloseMs);
  const bool unregistered = !ClassRegistered(a.Library());
  char text[160];
  std::snprintf(text, sizeof text,
                "after the %s closed: class registered %d, the other editor open %d and painting %d;"
                " after both: unregistered %d",
                firstClosesFirst ? "first" : "second", stillRegistered, otherAlive, otherPaints, unregistered);
  report.Check(firstClosesFirst ? "two instances closing in opening order" : "two instances closing in reverse order",
               stillRegistered && otherAlive && otherPaints && unregistered && NothingLeft(a) && NothingLeft(b), text);
}

}  // namespace

void CheckOpenClose(HostContext& context) {
  Report& report = *context.report;
  {
    HostSession host(context.library);
    if (!report.Check("open/close instance", host.Ready(), host.Error())) return;
    AudioThread audio(host.Effect());
    int opened = 0;
    int leftovers = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
      if (host.OpenEditor() && host.Editor()) ++opened;
      HostSession::Pump(20 + 10 * (cycle % 4));
      host.CloseEditor();
      if (!NothingLeft(host)) ++leftovers;
    }
    HostSession::Pump(kAfterCloseMs);
    const long blocks = audio.Stop();
    char text[160];
    std::snprintf(text, sizeof text, "%d of %d opened, %d left a window, %ld blocks rendered meanwhile, class %s",
                  opened, kCycles, leftovers, blocks,
                  ClassRegistered(host.Library()) ? "still registered" : "unregistered");
    report.Check("50 open/close cycles while rendering",
                 opened == kCycles && leftovers == 0 && blocks > 0 && !ClassRegistered(host.Library()), text);
  }
  if (context.checkLayout) {
    HostSession host(context.library);
    host.OpenEditor();
    RightClickKnob(host.Editor());
    const bool entryOpen = host.Editor() && GetDlgItem(host.Editor(), 99) != nullptr;
    host.CloseEditor();
    HostSession::Pump(kAfterCloseMs);
    const bool gone = NothingLeft(host);
    const bool reopened =
        host.OpenEditor() &&
        HostSession::PumpUntil([&] { return !GetUpdateRect(host.Editor(), nullptr, FALSE); }, kPaintTimeoutMs) &&
        GetDlgItem(host.Editor(), 99) == nullptr;
    host.CloseEditor();
    report.Check("effEditClose with a text entry open", entryOpen && gone && reopened,
                 std::string(entryOpen ? "entry was open; " : "no entry opened; ") +
                     (gone ? "nothing left; " : "windows left; ") + (reopened ? "re-opens clean" : "re-open failed"));

    host.OpenEditor();
    HostSession::Pump(100);
    const IBox& button = editor_check::kMenuBox;
    const LPARAM at = PointParam(button.left + 10, button.top + 10);
    bool fired = false;
    {
      MenuDriver driver(host.Editor(), {}, [&] {
        host.CloseEditor();
        EndMenu();
      });
      PostMessageW(host.Editor(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      HostSession::Pump(kMenuWaitMs);
      fired = driver.Fired();
    }
    HostSession::Pump(kAfterCloseMs);
    report.Check("effEditClose with a menu open", fired && NothingLeft(host) && !ClassRegistered(host.Library()),
                 fired ? "closed from inside the menu's loop; nothing left" : "the menu did not open");

    host.OpenEditor();
    RightClickKnob(host.Editor());
    const bool entryBeforeClose = host.Editor() && GetDlgItem(host.Editor(), 99) != nullptr;
    host.CloseInstance();
    HostSession::Pump(kAfterCloseMs);
    report.Check("effClose with a text entry open",
                 entryBeforeClose && NothingLeft(host) && !ClassRegistered(host.Library()),
                 entryBeforeClose ? "the plug-in went with its window, entry and timer" : "no entry opened");
  }
  CheckTwoInstances(context, true);
  CheckTwoInstances(context, false);
}
