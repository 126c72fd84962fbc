// Memory and system bitmaps: layout, resize reuse and growth, failures.
#include <cstdint>

#include "raster/px_mem_bitmap.h"
#include "raster/px_sys_bitmap.h"
#include "tests/raster/checks/check.h"

RASTER_CHECK(Bitmap, MemoryLayoutAndReuse) {
  PX_MemBitmap bitmap(10, 10);
  CHECK_EQ(log, bitmap.RowSpan(), 12);
  CHECK_EQ(log, reinterpret_cast<uintptr_t>(bitmap.Pixels()) % 64, uintptr_t{0});
  uint32_t* first = bitmap.Pixels();
  CHECK_TRUE(log, bitmap.Resize(9, 9));
  CHECK_TRUE(log, bitmap.Pixels() == first);  // the block is reused
  CHECK_EQ(log, bitmap.RowSpan(), 12);
  CHECK_EQ(log, bitmap.AllocatedSize(), 10 * 12 * 4);
  CHECK_TRUE(log, !bitmap.Resize(9, 9));
  // Growing past the block takes a quarter more than needed.
  CHECK_TRUE(log, bitmap.Resize(20, 20));
  CHECK_EQ(log, bitmap.AllocatedSize(), (20 * 20 * 4) / 4 * 5);
  CHECK_EQ(log, reinterpret_cast<uintptr_t>(bitmap.Pixels()) % 64, uintptr_t{0});
  bitmap.Pixels()[20 * 20 - 1] = 1;  // the last pixel is writable (ASan)
  CHECK_TRUE(log, bitmap.Resize(0, 5));
  CHECK_TRUE(log, bitmap.Pixels() == nullptr);
  CHECK_EQ(log, bitmap.Width(), 0);
  PX_MemBitmap empty;
  CHECK_TRUE(log, empty.Pixels() == nullptr);
  CHECK_EQ(log, empty.Width(), 0);
}

RASTER_CHECK(Bitmap, MemoryAllocationFailure) {
  // A size whose bytes cannot be held fails like an allocation: 0 x 0,
  // no pixels, and Resize still answers true.
  PX_MemBitmap bitmap(4, 4);
  CHECK_TRUE(log, bitmap.Resize(2147483647, 2147483647));
  CHECK_TRUE(log, bitmap.Pixels() == nullptr);
  CHECK_EQ(log, bitmap.Width(), 0);
  CHECK_EQ(log, bitmap.Height(), 0);
  CHECK_TRUE(log, bitmap.Resize(3, 3));
  CHECK_TRUE(log, bitmap.Pixels() != nullptr);
}

RASTER_CHECK(Bitmap, SystemKeepsLargerSection) {
  PX_SysBitmap bitmap(10, 10);
  CHECK_TRUE(log, bitmap.Pixels() != nullptr);
  CHECK_EQ(log, bitmap.RowSpan(), 12);
  uint32_t* first = bitmap.Pixels();
  CHECK_TRUE(log, bitmap.Resize(5, 5));
  CHECK_TRUE(log, bitmap.Pixels() == first);
  CHECK_EQ(log, bitmap.RowSpan(), 12);
  CHECK_EQ(log, bitmap.Width(), 5);
  CHECK_TRUE(log, !bitmap.Resize(5, 5));
  CHECK_TRUE(log, bitmap.Resize(30, 7));
  CHECK_EQ(log, bitmap.RowSpan(), 32);
  bitmap.Pixels()[32 * 7 - 1] = 1;
  // A negative size is no size: the section goes.
  bitmap.Resize(-8, 7);
  CHECK_TRUE(log, bitmap.Pixels() == nullptr);
  CHECK_EQ(log, bitmap.Width(), 0);
  CHECK_TRUE(log, bitmap.Resize(30, 7));
  CHECK_TRUE(log, !bitmap.Resize(0, 7));
  CHECK_TRUE(log, bitmap.Pixels() == nullptr);
  bitmap.Resize(2147483647, 3);
  CHECK_TRUE(log, bitmap.Pixels() == nullptr);
  CHECK_EQ(log, bitmap.Width(), 0);
}
