// Reads a whole input file, refusing files larger than a limit.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace render {

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>& bytes,
                   std::string& error);

}  // namespace render
