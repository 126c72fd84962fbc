// Linux file names are bytes; a UTF-8 path is used as it stands.
#include "raster/platform/file_open.h"

namespace px_file {

std::FILE* OpenForReading(const char* utf8Path) { return std::fopen(utf8Path, "rb"); }

std::FILE* OpenForWriting(const char* utf8Path) { return std::fopen(utf8Path, "wb"); }

}  // namespace px_file
