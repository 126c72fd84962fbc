// Linux file names are bytes; a UTF-8 path is used as it stands.
#include "raster/platform/file_open.h"

namespace px_file {

std::FILE* OpenForReading(const char* utf8Path) { return std::fopen(utf8Path, "rb"); }

}  // namespace px_file
