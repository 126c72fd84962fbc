#include "tests/editor_win/host/menu_driver.h"

namespace {

// One driver at a time: thread timers carry no data of their own.
struct DriverState {
  HWND target = nullptr;
  std::vector<WPARAM> keys;
  std::function<void()> action;
  bool fired = false;
};
DriverState gDriver;

VOID CALLBACK PressKeys(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gDriver.fired) return;
  gDriver.fired = true;
  for (WPARAM key : gDriver.keys) PostMessageW(gDriver.target, WM_KEYDOWN, key, 1);
  if (gDriver.action) gDriver.action();
}

VOID CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

}  // namespace

MenuDriver::MenuDriver(HWND target, std::vector<WPARAM> keys, std::function<void()> action) {
  gDriver.target = target;
  gDriver.keys = std::move(keys);
  gDriver.action = std::move(action);
  gDriver.fired = false;
  mPress = SetTimer(nullptr, 0, kDelayMs, PressKeys);
  mGiveUp = SetTimer(nullptr, 0, kGiveUpMs, GiveUp);
}

MenuDriver::~MenuDriver() {
  KillTimer(nullptr, mPress);
  KillTimer(nullptr, mGiveUp);
  gDriver = DriverState();
}

bool MenuDriver::Fired() const { return gDriver.fired; }
