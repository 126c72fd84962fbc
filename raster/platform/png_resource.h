// Finds the encoded bytes of the "PNG" resource resourceId of module.
// The bytes belong to the module (or the image table) and are not freed.
#pragma once

#include <cstddef>

namespace px_resource {
bool FindPng(void* module, int resourceId, const void** bytes, size_t* length);
}
