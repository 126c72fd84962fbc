// The platform's pixel surfaces behind PX_SysBitmap: a memory context that
// can hold one section at a time, and top-down (or bottom-up) 32-bit sections.
// Windows: a memory DC compatible with the screen and DIB sections.
// Linux: a plain context record and heap blocks of the same layout.
#pragma once

#include <cstdint>

namespace px_surface {

// Null on failure.
void* CreateContext();
void DeleteContext(void* context);
// The GDI device context of the context, or null where there is none.
void* DeviceContextOf(void* context);

// Creates a width x height section of 32-bit pixels (width a multiple of 4),
// selects it into the context and returns it, with its bits and the object it
// displaced; null on failure.
void* CreateSection(void* context, int width, int height, bool bottomUp, uint32_t** bits, void** previous);
// Selects previous back into the context and deletes the section.
void DeleteSection(void* context, void* section, void* previous);

}  // namespace px_surface
