// Switches the whole process to a locale whose decimal separator is a comma,
// as a GTK-based host does with setlocale(LC_ALL, ""), and back to "C" when
// it goes. Linux finds the locale the test set-up generated (LOCPATH);
// Windows has German built in.
#pragma once

#include <string>

class ScopedCommaLocale {
 public:
  ScopedCommaLocale();
  ~ScopedCommaLocale();
  ScopedCommaLocale(const ScopedCommaLocale&) = delete;
  ScopedCommaLocale& operator=(const ScopedCommaLocale&) = delete;

  // Whether the C library now writes 0.5 as "0,5"; the locale's name if so.
  bool Active() const { return !name_.empty(); }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};
