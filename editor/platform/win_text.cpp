#include "editor/platform/win_text.h"

#include <windows.h>

#include <cwchar>

std::wstring WidenUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::wstring WidenUtf8(const char* text) { return WidenUtf8(std::string(text ? text : "")); }

std::string NarrowToUtf8(const wchar_t* text, int length) {
  if (!text || length <= 0) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::string NarrowToUtf8(const wchar_t* text) {
  return text ? NarrowToUtf8(text, static_cast<int>(std::wcslen(text))) : std::string();
}
