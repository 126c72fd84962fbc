// Feeds arbitrary bytes to the PNG decoder: it must answer a bitmap or null,
// never crash, read out of bounds or leak.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "raster/px_png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<PX_IBitmap> bitmap(LoadPngFromMemory(data, size));
  if (bitmap && bitmap->Pixels()) {
    // Touch the last pixel so that a short allocation shows up.
    volatile uint32_t last =
        bitmap->Pixels()[static_cast<size_t>(bitmap->Height() - 1) * bitmap->RowSpan() + bitmap->Width() - 1];
    (void)last;
  }
  return 0;
}
