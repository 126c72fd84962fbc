// What the window shows: each check state is reached in a fresh instance by
// the host's own parameter calls, captured from the window, saved for people
// to look at, and compared with the image the headless surface composed.
#include <cstdio>
#include <memory>
#include <string>

#include "raster/png_encode.h"
#include "raster/px_png.h"
#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/check_states.h"
#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"
#include "tests/editor_win/host/window_capture.h"

namespace {

constexpr int kPaintTimeoutMs = 5000;
// Long enough for several timer ticks to redraw what the parameters changed.
constexpr int kRedrawMs = 300;

}  // namespace

void CheckPictures(HostContext& context) {
  Report& report = *context.report;
  for (const editor_check::CheckState& state : editor_check::kStates) {
    const std::string name = std::string("picture ") + state.name;
    HostSession host(context.library);
    if (!report.Check(name + " instance", host.Ready() && host.OpenEditor(), host.Error())) return;
    HWND editor = host.Editor();
    HostSession::PumpUntil([&] { return !GetUpdateRect(editor, nullptr, FALSE); }, kPaintTimeoutMs);
    for (int i = 0; i < state.count; ++i) {
      host.Effect()->setParameter(host.Effect(), state.settings[i].index, state.settings[i].value);
    }
    HostSession::Pump(kRedrawMs);
    std::unique_ptr<PX_IBitmap> captured = CaptureWindow(editor);
    host.CloseEditor();
    if (!report.Check(name + " capture", captured != nullptr, "BitBlt from the editor window")) continue;

    const std::string shot = context.screenshotDir + "\\" + state.name + "-" + context.tag + ".png";
    report.Check(name + " saved", PX_WritePngFile(*captured, shot.c_str()), shot);
    if (!context.checkLayout || context.referenceDir.empty()) continue;
    const std::string referencePath = context.referenceDir + "\\" + state.name + ".png";
    std::unique_ptr<PX_IBitmap> reference(LoadPngFromFile(referencePath.c_str(), false, nullptr));
    if (!report.Check(name + " reference", reference != nullptr, referencePath)) continue;
    const CompareResult compared =
        CompareWithReference(*captured, *reference, {editor_check::kTitleBox, editor_check::kKnobTextBox});
    report.Check(name + " matches the headless surface", compared.ok, compared.detail);
  }
}
