// The pop-up menu model the product builds and the window layers show:
// items with texts, flags and optional sub-menus, an optional numbering
// prefix, and the chosen item set when the user picks one of this menu's
// items. A menu owns its items and their sub-menus.
#pragma once

#include <memory>
#include <string>
#include <vector>

class IMenu;

enum IMenuItemFlag : int {
  kMenuItemGreyed = 1,
  kMenuItemDisabled = 2,
  kMenuItemChecked = 4,
  kMenuItemSeparator = 8,
};

struct IMenuItem {
  std::string text;
  std::unique_ptr<IMenu> submenu;
  int flags = 0;

  bool IsSeparator() const { return (flags & kMenuItemSeparator) != 0; }
  bool IsChecked() const { return (flags & kMenuItemChecked) != 0; }
  // Greyed or disabled: shown but cannot be picked.
  bool IsEnabled() const { return (flags & (kMenuItemGreyed | kMenuItemDisabled)) == 0; }
};

class IMenu {
 public:
  // Numbering prefixes: the item's 1-based position in its own menu
  // (separators counted) before its text.
  enum Prefix : int { kPrefixNone = 0, kPrefixOneDigit = 1, kPrefixTwoDigits = 2, kPrefixThreeDigits = 3 };

  explicit IMenu(int prefix = kPrefixNone) : mPrefix(prefix) {}

  // Appends an item; returns it.
  IMenuItem& AddItem(const char* text, int flags = 0);
  // Appends an item that opens submenu (taken over).
  IMenuItem& AddSubmenu(const char* text, std::unique_ptr<IMenu> submenu, int flags = 0);
  IMenuItem& AddSeparator();
  // Inserts at position, or appends when position is past the end (or < 0).
  IMenuItem& InsertItem(int position, const char* text, std::unique_ptr<IMenu> submenu = nullptr, int flags = 0);

  int NItems() const { return static_cast<int>(mItems.size()); }
  IMenuItem& Item(int index) { return mItems[static_cast<size_t>(index)]; }
  const IMenuItem& Item(int index) const { return mItems[static_cast<size_t>(index)]; }
  int GetPrefix() const { return mPrefix; }
  void SetPrefix(int prefix) { mPrefix = prefix; }
  // The text a window shows for the item: the numbering prefix applied.
  std::string ItemLabel(int index) const;

  int ChosenItem() const { return mChosenItem; }
  void SetChosenItem(int index) { mChosenItem = index; }

  // This menu and every sub-menu in depth-first order (a menu before its
  // sub-menus, sub-menus in item order): the order in which native menus
  // number their items in consecutive blocks, this menu's block first.
  void CollectDepthFirst(std::vector<IMenu*>& menus);
  // Resolves a command identifier of those blocks (0 = this menu's first
  // item): sets that menu's chosen item and returns the menu, or null when
  // the identifier lies outside every block.
  IMenu* ChooseByIdentifier(int identifier);

 private:
  int mPrefix;
  int mChosenItem = -1;
  std::vector<IMenuItem> mItems;
};
