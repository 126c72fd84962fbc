// The in-place text entry: a Windows EDIT control over the control's box,
// subclassed so that Return, Escape, the loss of focus and the character
// filter move the entry's state; the editor's timer tick then applies or
// drops the text and removes the control.
#include <windows.h>

#include "editor/icontrol.h"
#include "editor/platform/igraphics_win.h"
#include "editor/platform/win_text.h"

namespace {

// Room for the longest text the entry applies and its terminating zero.
constexpr int kEntryBufferLength = IGraphics::kEntryTextLimit + 1;

IGraphicsWin* EditorOfEntry(HWND entry) {
  HWND editor = GetParent(entry);
  return editor ? reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrW(editor, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK EntryWindowProc(HWND entry, UINT message, WPARAM wParam, LPARAM lParam) {
  IGraphicsWin* editor = EditorOfEntry(entry);
  if (!editor) return DefWindowProcW(entry, message, wParam, lParam);
  return editor->HandleEntryMessage(entry, message, wParam, lParam);
}

COLORREF ColourRef(const IColour& colour) { return RGB(colour.r & 0xFF, colour.g & 0xFF, colour.b & 0xFF); }

}  // namespace

void IGraphicsWin::BeginTextEntry(IControl* control, const ITextStyle& style, const IBox& box, const char* text,
                                  const IParam* param) {
  if (!control || mEntryWindow || !mWindow) return;
  DWORD alignment = ES_LEFT;
  if (style.align == kAlignCentre) alignment = ES_CENTER;
  if (style.align == kAlignRight) alignment = ES_RIGHT;
  const std::wstring initial = WidenUtf8(text);
  HWND entry = CreateWindowExW(
      0, L"EDIT", initial.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | alignment, box.left, box.top,
      box.Width() + 1, box.Height() + 1, mWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryControlId)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mWindow, GWLP_HINSTANCE)), nullptr);
  if (!entry) return;
  const std::wstring face = WidenUtf8(style.face);
  mEntryFont = CreateFontW(style.size, 0, 0, 0, style.style == kTextBold ? FW_BOLD : FW_DONTCARE,
                           style.style == kTextItalic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
  const int limit = control->TextEntryLength();
  SendMessageW(entry, EM_LIMITTEXT, static_cast<WPARAM>(limit > 0 ? limit : 0), 0);
  if (mEntryFont) SendMessageW(entry, WM_SETFONT, reinterpret_cast<WPARAM>(mEntryFont), FALSE);
  SendMessageW(entry, EM_SETSEL, 0, -1);
  mEntryWindow = entry;
  mEntryControl = control;
  mEntryParam = param;
  mEntryState = kEntryIdle;
  // The focus moves before the entry's procedure is installed: the entry
  // starts idle, so the release of the button that opened it still reaches
  // the editor (ending the control's edit gesture). Only a focus that comes
  // back later marks the entry "focus just arrived".
  SetFocus(entry);
  mEntryPreviousProc = SetWindowLongPtrW(entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryWindowProc));
}

std::intptr_t IGraphicsWin::HandleEntryMessage(HWND__* entry, unsigned message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
  auto previous = reinterpret_cast<WNDPROC>(mEntryPreviousProc);
  if (entry != mEntryWindow || !previous) return DefWindowProcW(entry, message, wParam, lParam);
  switch (message) {
    case WM_SETFOCUS: mEntryState = kEntryFocused; break;
    case WM_KILLFOCUS: mEntryState = kEntryCommit; break;
    case WM_GETDLGCODE:
      if (!mEntryParam) {
        LRESULT code = CallWindowProcW(previous, entry, message, wParam, lParam);
        const MSG* query = reinterpret_cast<const MSG*>(lParam);
        if (query && query->message == WM_KEYDOWN && query->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
        return code;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        mEntryState = kEntryCommit;
        return 0;
      }
      if (wParam == VK_ESCAPE) {
        mEntryState = kEntryCancel;
        return 0;
      }
      break;
    case WM_CHAR:
      // Return and Escape arrive as characters too; their key-downs decided.
      if (wParam == '\r' || wParam == 0x1B) return 0;
      if (mEntryParam && !EntryAcceptsCharacter(mEntryParam, static_cast<int>(wParam))) return 0;
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) mEntryState = kEntryCommit;
      break;
    default: break;
  }
  return CallWindowProcW(previous, entry, message, wParam, lParam);
}

std::intptr_t IGraphicsWin::EntryColours(void* deviceContext) {
  if (!mEntryControl) return 0;
  HDC dc = static_cast<HDC>(deviceContext);
  const ITextStyle& style = mEntryControl->TextStyle();
  SetBkColor(dc, ColourRef(style.entryBackground));
  SetTextColor(dc, ColourRef(style.entryText));
  SetBkMode(dc, OPAQUE);
  SetDCBrushColor(dc, ColourRef(style.entryBackground));
  return reinterpret_cast<std::intptr_t>(GetStockObject(DC_BRUSH));
}

void IGraphicsWin::EndTextEntry(bool commit) {
  if (!mEntryWindow) return;
  HWND entry = mEntryWindow;
  IControl* control = mEntryControl;
  const IParam* param = mEntryParam;
  std::string text;
  if (commit) {
    wchar_t typed[kEntryBufferLength] = {};
    const int length = GetWindowTextW(entry, typed, kEntryBufferLength);
    text = NarrowToUtf8(typed, length);
  }
  SetWindowLongPtrW(entry, GWLP_WNDPROC, mEntryPreviousProc);
  // Forgotten before the control goes, so that its last messages (focus
  // leaving) find no open entry.
  mEntryWindow = nullptr;
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryPreviousProc = 0;
  mEntryState = kEntryIdle;
  DestroyWindow(entry);
  if (mWindow) SetFocus(mWindow);
  if (mEntryFont) {
    DeleteObject(mEntryFont);
    mEntryFont = nullptr;
  }
  if (commit) CommitEntryText(control, param, text.c_str());
}
