#include "editor/imenu.h"

#include <cstdio>

IMenuItem& IMenu::AddItem(const char* text, int flags) { return InsertItem(-1, text, nullptr, flags); }

IMenuItem& IMenu::AddSubmenu(const char* text, std::unique_ptr<IMenu> submenu, int flags) {
  return InsertItem(-1, text, std::move(submenu), flags);
}

IMenuItem& IMenu::AddSeparator() { return InsertItem(-1, "", nullptr, kMenuItemSeparator); }

IMenuItem& IMenu::InsertItem(int position, const char* text, std::unique_ptr<IMenu> submenu, int flags) {
  IMenuItem item;
  item.text = text ? text : "";
  item.submenu = std::move(submenu);
  item.flags = flags;
  if (position < 0 || position >= NItems()) {
    mItems.push_back(std::move(item));
    return mItems.back();
  }
  return *mItems.insert(mItems.begin() + position, std::move(item));
}

std::string IMenu::ItemLabel(int index) const {
  const IMenuItem& item = Item(index);
  static const char* const kFormats[] = {nullptr, "%1d: %s", "%02d: %s", "%03d: %s"};
  if (mPrefix < 1 || mPrefix > 3 || item.IsSeparator()) return item.text;
  const int size = std::snprintf(nullptr, 0, kFormats[mPrefix], index + 1, item.text.c_str());
  std::string label(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(label.data(), label.size(), kFormats[mPrefix], index + 1, item.text.c_str());
  label.resize(static_cast<size_t>(size));
  return label;
}

void IMenu::CollectDepthFirst(std::vector<IMenu*>& menus) {
  menus.push_back(this);
  for (IMenuItem& item : mItems) {
    if (item.submenu) item.submenu->CollectDepthFirst(menus);
  }
}

IMenu* IMenu::ChooseByIdentifier(int identifier) {
  std::vector<IMenu*> menus;
  CollectDepthFirst(menus);
  int blockStart = 0;
  for (IMenu* menu : menus) {
    if (identifier >= blockStart && identifier < blockStart + menu->NItems()) {
      menu->SetChosenItem(identifier - blockStart);
      return menu;
    }
    blockStart += menu->NItems();
  }
  return nullptr;
}
