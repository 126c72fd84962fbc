// Drives a pop-up menu without a person: a thread timer that fires inside the
// menu's own message loop posts the keys (or runs an action), and a later one
// ends any menu still open, so that no check can hang on a menu.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class MenuDriver {
 public:
  static constexpr int kDelayMs = 250;
  static constexpr int kGiveUpMs = 4000;

  // After kDelayMs, posts each key as a key-down to target, then runs action
  // (when given).
  MenuDriver(HWND target, std::vector<WPARAM> keys, std::function<void()> action = nullptr);
  ~MenuDriver();
  // True once the keys were sent.
  bool Fired() const;

 private:
  UINT_PTR mPress = 0;
  UINT_PTR mGiveUp = 0;
};
