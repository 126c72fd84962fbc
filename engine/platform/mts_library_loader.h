// Run-time loading of the MTS-ESP tuning library, the one platform-dependent
// piece of the engine. Each platform implements these in its own file.
#pragma once

#include <string>

namespace tuning_library {

using Handle = void*;
using EntryPoint = void (*)();

// Where the tuning library installs itself on this platform.
std::string InstalledPath();
// Null when the library is absent or cannot be loaded.
Handle Open(const std::string& path);
// Null when the library lacks the entry point.
EntryPoint Find(Handle library, const char* name);
void Close(Handle library);

}  // namespace tuning_library
