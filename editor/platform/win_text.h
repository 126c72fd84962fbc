// UTF-8 (the rest of Vorn) to UTF-16 (the wide Windows functions) and back.
// Invalid sequences become U+FFFD; a null text converts as an empty one.
#pragma once

#include <string>

std::wstring WidenUtf8(const char* text);
std::wstring WidenUtf8(const std::string& text);
std::string NarrowToUtf8(const wchar_t* text);
std::string NarrowToUtf8(const wchar_t* text, int length);
