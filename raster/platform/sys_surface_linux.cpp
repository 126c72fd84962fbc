// Linux stand-in for GDI memory contexts and DIB sections: a context is a
// plain record that remembers its section, and a section is a zeroed, 64-byte
// aligned heap block of 32-bit pixels. There is no device context.
#include <cstdlib>
#include <cstring>

#include "raster/platform/sys_surface.h"

namespace px_surface {
namespace {
struct LinuxContext {
  void* selected = nullptr;
};
constexpr size_t kSectionAlignment = 64;
}  // namespace

void* CreateContext() { return new LinuxContext; }

void DeleteContext(void* context) { delete static_cast<LinuxContext*>(context); }

void* DeviceContextOf(void*) { return nullptr; }

void* CreateSection(void* context, int width, int height, bool, uint32_t** bits, void** previous) {
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  const size_t rounded = (bytes + kSectionAlignment - 1) & ~(kSectionAlignment - 1);
  void* block = std::aligned_alloc(kSectionAlignment, rounded);
  if (!block) return nullptr;
  std::memset(block, 0, rounded);
  auto* owner = static_cast<LinuxContext*>(context);
  *previous = owner->selected;
  owner->selected = block;
  *bits = static_cast<uint32_t*>(block);
  return block;
}

void DeleteSection(void* context, void* section, void* previous) {
  static_cast<LinuxContext*>(context)->selected = previous;
  std::free(section);
}

}  // namespace px_surface
