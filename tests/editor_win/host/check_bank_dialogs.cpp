// The file dialogs with a folder whose name mixes scripts: the check layout's
// bank button saves the bank through the save dialog into that folder and
// loads it back through the open dialog. A timer fills each dialog's file
// name with the full path and presses OK, as a person would; between the two
// the host moves a parameter of the current program, which loading the bank
// must put back to the program's stored value.
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/host/host_checks.h"
#include "tests/editor_win/host/host_session.h"

namespace {

constexpr int kPaintTimeoutMs = 5000;
constexpr int kDialogPollMs = 100;
constexpr int kDialogsWaitMs = 8000;
// The file name field of the common file dialogs (cmb13) and its older edit.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr float kMoved = 0.9f;
constexpr float kSameValue = 1e-6f;
// "Bänke Банки 音色": Latin with a diaeresis, Cyrillic and CJK.
constexpr wchar_t kMixedFolder[] = L"B\u00e4nke \u0411\u0430\u043d\u043a\u0438 \u97f3\u8272";

struct DialogScript {
  std::wstring path;
  vst2::AEffect* effect = nullptr;
  HWND lastDialog = nullptr;
  int handled = 0;
};
DialogScript gScript;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (IsWindowVisible(window) && std::wstring(className) == L"#32770") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Runs inside the dialogs' own message loops.
VOID CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || dialog == gScript.lastDialog) return;
  gScript.lastDialog = dialog;
  HWND name = GetDlgItem(dialog, kFileNameCombo);
  if (!name) name = GetDlgItem(dialog, kFileNameEdit);
  if (!name) return;
  // The explorer-style dialog's name field is an extended combo box: its
  // text lives in the edit inside it.
  if (HWND edit = reinterpret_cast<HWND>(SendMessageW(name, CBEM_GETEDITCONTROL, 0, 0))) name = edit;
  SetWindowTextW(name, gScript.path.c_str());
  // The second dialog opens the bank: move a parameter the bank holds first.
  if (gScript.handled++ == 1) gScript.effect->setParameter(gScript.effect, editor_check::kKnobParam, kMoved);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

void CheckBankDialogs(HostContext& context) {
  Report& report = *context.report;
  HostSession host(context.library);
  if (!report.Check("dialogs editor", host.Ready() && host.OpenEditor(), host.Error())) return;
  HWND editor = host.Editor();
  HostSession::PumpUntil([&] { return !GetUpdateRect(editor, nullptr, FALSE); }, kPaintTimeoutMs);

  const std::wstring folder = Widen(context.screenshotDir) + L"\\" + kMixedFolder + L"-" + Widen(context.tag);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring bank = folder + L"\\bank.fxb";
  DeleteFileW(bank.c_str());
  const float stored = host.Effect()->getParameter(host.Effect(), editor_check::kKnobParam);

  gScript = DialogScript();
  gScript.path = bank;
  gScript.effect = host.Effect();
  const UINT_PTR timer = SetTimer(nullptr, 0, kDialogPollMs, AnswerDialog);
  const IBox& button = editor_check::kBankBox;
  const LPARAM at = PointParam(button.left + 10, button.top + 10);
  PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(editor, WM_LBUTTONUP, 0, at);
  HostSession::PumpUntil([] { return gScript.handled >= 2; }, kDialogsWaitMs);
  HostSession::Pump(300);
  KillTimer(nullptr, timer);

  WIN32_FILE_ATTRIBUTE_DATA file{};
  const bool saved = GetFileAttributesExW(bank.c_str(), GetFileExInfoStandard, &file) && file.nFileSizeLow > 0;
  const float value = host.Effect()->getParameter(host.Effect(), editor_check::kKnobParam);
  char text[200];
  std::snprintf(text, sizeof text,
                "%d dialogs answered, bank %s (%lu bytes), parameter %.4f after loading, stored %.4f", gScript.handled,
                saved ? "written" : "missing", file.nFileSizeLow, value, stored);
  report.Check("bank saved and loaded through the dialogs in a mixed-script folder",
               gScript.handled == 2 && saved && std::fabs(value - stored) < kSameValue, text);
  host.CloseEditor();
}
