// The table of embedded PNG images that stands in for module resources where
// there are none (Linux): the images' bytes registered under integer ids.
// The bytes are not copied and must outlive the table (static data).
// Any thread; the table has its own lock.
#pragma once

#include <cstddef>

// Registers (or replaces) the image under id.
void PX_RegisterPngResource(int id, const void* bytes, size_t length);
// Finds the image under id; false when there is none.
bool PX_FindPngResource(int id, const void** bytes, size_t* length);
