#include "engine/platform/mts_library_loader.h"

namespace tuning_library {

// The tuning library's own installer puts it here on Linux.
std::string InstalledPath() { return "/usr/local/lib/libMTS.so"; }

}  // namespace tuning_library
