// Module resources of type "PNG" under integer identifiers.
#include <windows.h>

#include "raster/platform/png_resource.h"

namespace px_resource {

bool FindPng(void* module, int resourceId, const void** bytes, size_t* length) {
  HMODULE handle = static_cast<HMODULE>(module);
  HRSRC info = FindResourceA(handle, MAKEINTRESOURCEA(resourceId), "PNG");
  if (!info) return false;
  const DWORD size = SizeofResource(handle, info);
  HGLOBAL loaded = LoadResource(handle, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  *bytes = data;
  *length = size;
  return true;
}

}  // namespace px_resource
