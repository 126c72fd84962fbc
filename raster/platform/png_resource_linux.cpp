// Without module resources the images come from the embedded image table.
#include "raster/platform/png_resource.h"
#include "raster/px_png_resources.h"

namespace px_resource {

bool FindPng(void*, int resourceId, const void** bytes, size_t* length) {
  return PX_FindPngResource(resourceId, bytes, length);
}

}  // namespace px_resource
