// Where the MTS-ESP tuning library lives, the one platform-dependent fact of
// the engine (each platform answers in its own file), and its loading.
#pragma once

#include <string>

#include "engine/platform/dynamic_library.h"

namespace tuning_library {

using Handle = dynamic_library::Handle;
using EntryPoint = dynamic_library::Function;

// Where the tuning library installs itself on this platform.
std::string InstalledPath();

// Null when the library is absent or cannot be loaded.
inline Handle Open(const std::string& path) {
  std::string ignored;
  return dynamic_library::Open(path, ignored);
}
// Null when the library lacks the entry point.
inline EntryPoint Find(Handle library, const char* name) { return dynamic_library::Find(library, name); }
inline void Close(Handle library) { dynamic_library::Close(library); }

}  // namespace tuning_library
