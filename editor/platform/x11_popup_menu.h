// Pop-up menus of the X11 window, drawn with the raster layer in
// override-redirect windows: sub-menus open beside their item, checks,
// greyed items and separators, the numbering prefix of the menu model.
// Mouse: hovering highlights and opens sub-menus, releasing the button over
// an item picks it, pressing outside dismisses. Keys: arrows move and open or
// close sub-menus, Return picks, Escape closes one level. Pointer and
// keyboard are grabbed while the menu is up. Connection thread.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "editor/ibox.h"
#include "editor/imenu.h"
#include "editor/platform/x11_connection.h"
#include "editor/platform/x11_surface.h"

class X11PopupMenu : public X11Client {
 public:
  static constexpr int kItemHeight = 20;
  static constexpr int kSeparatorHeight = 7;
  static constexpr int kPadding = 3;
  static constexpr int kTextIndent = 22;
  static constexpr int kArrowSpace = 24;

  // Shows menu with its top-left corner at (rootX, rootY) and returns the
  // (sub-)menu whose item was picked, with its chosen item set, or null.
  static IMenu* Run(X11Connection& connection, X11Client* owner, IMenu& menu, int rootX, int rootY);
  // Where item index lies inside its menu's window, and the window's size.
  static IBox ItemBox(const IMenu& menu, int index);
  static int MenuWidth(const IMenu& menu);
  static int MenuHeight(const IMenu& menu);

 private:
  struct Level {
    IMenu* menu;
    Window window;
    int x, y, width, height;
    int highlighted;
    std::unique_ptr<X11Canvas> canvas;
  };

  X11PopupMenu(X11Connection& connection) : mConnection(connection) {}
  void HandleEvent(XEvent& event) override;
  void OpenLevel(IMenu& menu, int rootX, int rootY);
  void CloseLevelsAbove(size_t keep);
  void Draw(Level& level);
  // The level and item under a root position (item -1 when on a frame or
  // separator); false when outside every level.
  bool HitTest(int rootX, int rootY, size_t& level, int& item);
  void Highlight(size_t level, int item, bool openSubmenu);
  void Pick(size_t level, int item);
  void MoveHighlight(int direction);

  X11Connection& mConnection;
  std::vector<Level> mLevels;
  IMenu* mChosen = nullptr;
  bool mDone = false;
  int mScreenWidth = 0;
  int mScreenHeight = 0;
};
