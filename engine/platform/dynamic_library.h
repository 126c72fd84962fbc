// Run-time loading of a shared library and of the functions it exports, the
// platform's way (dlopen or LoadLibrary; the build picks the file). The
// engine loads the tuning library with it, vorn-render and the host checker
// the plug-in under test.
#pragma once

#include <string>

namespace dynamic_library {

using Handle = void*;
using Function = void (*)();

// The library at a UTF-8 path; null with the system's reason in error when it
// cannot be loaded. A path without a folder is taken as relative to the
// current folder, not searched for.
Handle Open(const std::string& path, std::string& error);
// The function `name` exported by this library itself, not one found in a
// library it depends on; null when there is none.
Function Find(Handle library, const char* name);
void Close(Handle library);

}  // namespace dynamic_library
