// Resizing from inside the editor: with the editor in a child container of
// the host's frame, the editor window, the container (its parent) and the
// frame (its grandparent) all grow by the change, and effEditGetRect reports
// the new size.
#include <cstdio>

#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"

namespace {

constexpr int kPaintTimeoutMs = 5000;

SIZE SizeOf(HWND window) {
  RECT box{};
  GetWindowRect(window, &box);
  return {box.right - box.left, box.bottom - box.top};
}

}  // namespace

void CheckResize(HostContext& context) {
  Report& report = *context.report;
  HostSession host(context.library);
  if (!report.Check("resize instance", host.Ready(), host.Error())) return;
  HWND container = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 4, 4, 840, 384, host.Frame(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  const bool open = container && host.Dispatch(vst2::effEditOpen, 0, 0, container) != 0;
  HWND editor = container ? FindWindowExW(container, nullptr, L"VornWndClass", nullptr) : nullptr;
  if (!report.Check("resize editor in a container", open && editor, "child of a child of the frame")) return;
  HostSession::PumpUntil([&] { return !GetUpdateRect(editor, nullptr, FALSE); }, kPaintTimeoutMs);

  const SIZE editorBefore = SizeOf(editor);
  const SIZE containerBefore = SizeOf(container);
  const SIZE frameBefore = SizeOf(host.Frame());
  const IBox& button = editor_check::kGrowBox;
  const LPARAM at = PointParam(button.left + 10, button.top + 10);
  PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(editor, WM_LBUTTONUP, 0, at);
  HostSession::Pump(200);

  auto grew = [](const SIZE& before, const SIZE& after) {
    return after.cx - before.cx == editor_check::kGrowWidth && after.cy - before.cy == editor_check::kGrowHeight;
  };
  const SIZE editorAfter = SizeOf(editor);
  const SIZE containerAfter = SizeOf(container);
  const SIZE frameAfter = SizeOf(host.Frame());
  vst2::ERect* rect = nullptr;
  host.Dispatch(vst2::effEditGetRect, 0, 0, &rect);
  const int rectWidth = rect ? rect->right - rect->left : 0;
  const int rectHeight = rect ? rect->bottom - rect->top : 0;
  char text[200];
  std::snprintf(text, sizeof text,
                "editor %ldx%ld -> %ldx%ld, parent %ldx%ld -> %ldx%ld, grandparent %ldx%ld -> %ldx%ld, "
                "effEditGetRect %dx%d",
                editorBefore.cx, editorBefore.cy, editorAfter.cx, editorAfter.cy, containerBefore.cx,
                containerBefore.cy, containerAfter.cx, containerAfter.cy, frameBefore.cx, frameBefore.cy, frameAfter.cx,
                frameAfter.cy, rectWidth, rectHeight);
  report.Check("resize grows the window, its parent and grandparent",
               grew(editorBefore, editorAfter) && grew(containerBefore, containerAfter) &&
                   grew(frameBefore, frameAfter) && rectWidth == editorAfter.cx && rectHeight == editorAfter.cy,
               text);
  host.CloseEditor();
  DestroyWindow(container);
}
