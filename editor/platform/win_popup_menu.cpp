// Pop-up menus: the menu model becomes a native menu whose items are numbered
// in blocks, one block per (sub-)menu in depth-first order, so that the
// command identifier the menu leaves in the queue names the menu and item.
#include <windows.h>

#include <vector>

#include "editor/platform/igraphics_win.h"
#include "editor/platform/win_text.h"

namespace {

// Builds menu and, walking its items, its sub-menus; nextId is the start of
// the next free block. Null when the native menu cannot be made.
HMENU BuildNativeMenu(const IMenu& menu, int& nextId) {
  HMENU native = CreatePopupMenu();
  if (!native) return nullptr;
  const int blockStart = nextId;
  nextId += menu.NItems();
  for (int i = 0; i < menu.NItems(); ++i) {
    const IMenuItem& item = menu.Item(i);
    if (item.IsSeparator()) {
      AppendMenuW(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.flags & kMenuItemGreyed) flags |= MF_GRAYED;
    if (item.flags & kMenuItemDisabled) flags |= MF_DISABLED;
    if (item.flags & kMenuItemChecked) flags |= MF_CHECKED;
    const std::wstring label = WidenUtf8(menu.ItemLabel(i));
    if (item.submenu) {
      HMENU submenu = BuildNativeMenu(*item.submenu, nextId);
      if (submenu) AppendMenuW(native, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), label.c_str());
    } else {
      AppendMenuW(native, flags, static_cast<UINT_PTR>(blockStart + i), label.c_str());
    }
  }
  return native;
}

}  // namespace

IMenu* IGraphicsWin::RunPopupMenu(IMenu& menu, const IBox& box) {
  ReleaseMouseCapture();
  if (!mWindow) return nullptr;
  int nextId = 0;
  HMENU native = BuildNativeMenu(menu, nextId);
  if (!native) return nullptr;
  POINT corner{box.left, box.bottom};
  ClientToScreen(mWindow, &corner);
  HWND window = mWindow;
  IMenu* chosen = nullptr;
  // The answer is not consulted: a choice of identifier 0 answers 0 as a
  // dismissed menu does. A choice always leaves its command in the queue.
  TrackPopupMenu(native, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, corner.x, corner.y, 0, window, nullptr);
  MSG command;
  if (PeekMessageW(&command, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(command.wParam) == 0) {
    chosen = menu.ChooseByIdentifier(LOWORD(command.wParam));
  }
  DestroyMenu(native);
  // The editor may have been closed while the menu ran (the host's window
  // went away inside the menu's message loop).
  if (mWindow) {
    RECT all{0, 0, Width(), Height()};
    InvalidateRect(mWindow, &all, FALSE);
  }
  return chosen;
}
