#include "editor/platform/x11_popup_menu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

namespace {

constexpr uint32_t kFace = 0xFFF0F0F0;
constexpr uint32_t kBorder = 0xFF808080;
constexpr uint32_t kInk = 0xFF000000;
constexpr uint32_t kGreyInk = 0xFF909090;
constexpr uint32_t kHighlight = 0xFF3070C0;
constexpr uint32_t kHighlightInk = 0xFFFFFFFF;
constexpr int kMinWidth = 120;

bool Selectable(const IMenuItem& item) { return !item.IsSeparator(); }

}  // namespace

int X11PopupMenu::MenuWidth(const IMenu& menu) {
  int widest = 0;
  for (int i = 0; i < menu.NItems(); ++i) {
    if (!menu.Item(i).IsSeparator()) widest = std::max(widest, X11Canvas::TextWidth(menu.ItemLabel(i).c_str()));
  }
  return std::max(kMinWidth, kTextIndent + widest + kArrowSpace);
}

int X11PopupMenu::MenuHeight(const IMenu& menu) {
  return menu.NItems() > 0 ? ItemBox(menu, menu.NItems() - 1).bottom + kPadding : 2 * kPadding + kItemHeight;
}

IBox X11PopupMenu::ItemBox(const IMenu& menu, int index) {
  int top = kPadding;
  for (int i = 0; i < index; ++i) top += menu.Item(i).IsSeparator() ? kSeparatorHeight : kItemHeight;
  const int height = menu.Item(index).IsSeparator() ? kSeparatorHeight : kItemHeight;
  return {kPadding, top, MenuWidth(menu) - kPadding, top + height};
}

IMenu* X11PopupMenu::Run(X11Connection& connection, X11Client* owner, IMenu& menu, int rootX, int rootY) {
  X11PopupMenu popup(connection);
  {
    X11Connection::Guard guard(connection);
    Display* display = connection.Display();
    popup.mScreenWidth = DisplayWidth(display, DefaultScreen(display));
    popup.mScreenHeight = DisplayHeight(display, DefaultScreen(display));
  }
  popup.OpenLevel(menu, rootX, rootY);
  {
    X11Connection::Guard guard(connection);
    Display* display = connection.Display();
    const Window grab = popup.mLevels.front().window;
    XGrabPointer(display, grab, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(display, grab, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    connection.SyncAndTakeError();
  }
  connection.RunModal({&popup}, owner, [&popup] { return popup.mDone; });
  popup.CloseLevelsAbove(0);
  {
    X11Connection::Guard guard(connection);
    XUngrabPointer(connection.Display(), CurrentTime);
    XUngrabKeyboard(connection.Display(), CurrentTime);
    connection.SyncAndTakeError();
  }
  return popup.mChosen;
}

void X11PopupMenu::OpenLevel(IMenu& menu, int rootX, int rootY) {
  Level level{&menu, 0, rootX, rootY, MenuWidth(menu), MenuHeight(menu), -1, std::make_unique<X11Canvas>()};
  // Kept on the screen: moved left or up when it would run off.
  if (mScreenWidth > 0 && level.x + level.width > mScreenWidth) level.x = std::max(0, mScreenWidth - level.width);
  if (mScreenHeight > 0 && level.y + level.height > mScreenHeight) level.y = std::max(0, mScreenHeight - level.height);
  level.canvas->SetSize(level.width, level.height);
  {
    X11Connection::Guard guard(mConnection);
    Display* display = mConnection.Display();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    attributes.background_pixmap = None;
    level.window =
        XCreateWindow(display, DefaultRootWindow(display), level.x, level.y, static_cast<unsigned>(level.width),
                      static_cast<unsigned>(level.height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWSaveUnder | CWEventMask | CWBackPixmap, &attributes);
    XStoreName(display, level.window, "Vorn menu");
    XMapRaised(display, level.window);
    mConnection.SyncAndTakeError();
  }
  mConnection.Register(level.window, this);
  mLevels.push_back(std::move(level));
  Draw(mLevels.back());
}

void X11PopupMenu::CloseLevelsAbove(size_t keep) {
  while (mLevels.size() > keep) {
    Level& level = mLevels.back();
    mConnection.Unregister(level.window);
    {
      X11Connection::Guard guard(mConnection);
      XDestroyWindow(mConnection.Display(), level.window);
      mConnection.SyncAndTakeError();
    }
    mLevels.pop_back();
  }
}

void X11PopupMenu::Draw(Level& level) {
  X11Canvas& canvas = *level.canvas;
  canvas.Fill({0, 0, level.width, level.height}, kFace);
  canvas.Frame({0, 0, level.width, level.height}, kBorder);
  const IMenu& menu = *level.menu;
  for (int i = 0; i < menu.NItems(); ++i) {
    const IMenuItem& item = menu.Item(i);
    const IBox box = ItemBox(menu, i);
    if (item.IsSeparator()) {
      const int middle = (box.top + box.bottom) / 2;
      canvas.Fill({box.left + 2, middle, box.right - 2, middle + 1}, kBorder);
      continue;
    }
    const bool lit = i == level.highlighted;
    if (lit) canvas.Fill(box, kHighlight);
    const uint32_t ink = !item.IsEnabled() ? kGreyInk : lit ? kHighlightInk : kInk;
    const int textTop = box.top + (kItemHeight - X11Canvas::LineHeight()) / 2;
    if (item.IsChecked()) {
      const int middle = (box.top + box.bottom) / 2;
      canvas.Fill({box.left + 6, middle - 3, box.left + 12, middle + 3}, ink);
    }
    canvas.Text(menu.ItemLabel(i).c_str(), box.left + kTextIndent, textTop, ink);
    if (item.submenu) canvas.Text(">", box.right - kArrowSpace / 2, textTop, ink);
  }
  X11Connection::Guard guard(mConnection);
  canvas.Present(mConnection.Display(), level.window);
  XFlush(mConnection.Display());
}

bool X11PopupMenu::HitTest(int rootX, int rootY, size_t& level, int& item) {
  for (size_t i = mLevels.size(); i-- > 0;) {
    const Level& candidate = mLevels[i];
    const int x = rootX - candidate.x;
    const int y = rootY - candidate.y;
    if (x < 0 || y < 0 || x >= candidate.width || y >= candidate.height) continue;
    level = i;
    item = -1;
    for (int j = 0; j < candidate.menu->NItems(); ++j) {
      if (Selectable(candidate.menu->Item(j)) && ItemBox(*candidate.menu, j).Contains(x, y)) item = j;
    }
    return true;
  }
  return false;
}

void X11PopupMenu::Highlight(size_t level, int item, bool openSubmenu) {
  Level& current = mLevels[level];
  const bool same = current.highlighted == item;
  if (!same || mLevels.size() > level + 1) {
    // Moving within a menu closes the sub-menu of another item.
    if (!same) CloseLevelsAbove(level + 1);
    current.highlighted = item;
    Draw(mLevels[level]);
  }
  if (!openSubmenu || item < 0 || mLevels.size() > level + 1) return;
  IMenuItem& chosen = mLevels[level].menu->Item(item);
  if (!chosen.submenu || !chosen.IsEnabled()) return;
  const Level& parent = mLevels[level];
  const IBox box = ItemBox(*parent.menu, item);
  OpenLevel(*chosen.submenu, parent.x + parent.width - kPadding, parent.y + box.top - kPadding);
}

void X11PopupMenu::Pick(size_t level, int item) {
  IMenuItem& chosen = mLevels[level].menu->Item(item);
  if (!chosen.IsEnabled() || chosen.IsSeparator()) return;
  if (chosen.submenu) {
    Highlight(level, item, true);
    return;
  }
  mLevels[level].menu->SetChosenItem(item);
  mChosen = mLevels[level].menu;
  mDone = true;
}

void X11PopupMenu::MoveHighlight(int direction) {
  const size_t level = mLevels.size() - 1;
  const IMenu& menu = *mLevels[level].menu;
  const int count = menu.NItems();
  if (count == 0) return;
  int item = mLevels[level].highlighted;
  for (int step = 0; step < count; ++step) {
    item = item < 0 ? (direction > 0 ? 0 : count - 1) : (item + direction + count) % count;
    if (Selectable(menu.Item(item))) break;
  }
  Highlight(level, item, false);
}

void X11PopupMenu::HandleEvent(XEvent& event) {
  size_t level = 0;
  int item = -1;
  switch (event.type) {
    case Expose:
      for (Level& candidate : mLevels) {
        if (candidate.window == event.xexpose.window && event.xexpose.count == 0) Draw(candidate);
      }
      break;
    case MotionNotify:
      if (HitTest(event.xmotion.x_root, event.xmotion.y_root, level, item) && item >= 0) Highlight(level, item, true);
      break;
    case ButtonPress:
      if (!HitTest(event.xbutton.x_root, event.xbutton.y_root, level, item)) mDone = true;
      break;
    case ButtonRelease:
      if (HitTest(event.xbutton.x_root, event.xbutton.y_root, level, item) && item >= 0) Pick(level, item);
      break;
    case KeyPress: {
      const KeySym keysym = XLookupKeysym(&event.xkey, 0);
      Level& deepest = mLevels.back();
      switch (keysym) {
        case XK_Up: MoveHighlight(-1); break;
        case XK_Down: MoveHighlight(1); break;
        case XK_Right:
          if (deepest.highlighted >= 0) Highlight(mLevels.size() - 1, deepest.highlighted, true);
          if (mLevels.size() > 1 && mLevels.back().highlighted < 0) MoveHighlight(1);
          break;
        case XK_Left:
          if (mLevels.size() > 1) CloseLevelsAbove(mLevels.size() - 1);
          break;
        case XK_Escape:
          if (mLevels.size() > 1) {
            CloseLevelsAbove(mLevels.size() - 1);
          } else {
            mDone = true;
          }
          break;
        case XK_Return:
        case XK_KP_Enter:
        case XK_space:
          if (deepest.highlighted >= 0) {
            Pick(mLevels.size() - 1, deepest.highlighted);
            if (!mDone && mLevels.size() > 1 && mLevels.back().highlighted < 0) MoveHighlight(1);
          }
          break;
        default: break;
      }
      break;
    }
    default: break;
  }
}
