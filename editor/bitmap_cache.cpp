#include "editor/bitmap_cache.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "raster/px_blend_mode.h"
#include "raster/px_blit.h"
#include "raster/px_mem_bitmap.h"

namespace bitmap_cache {
namespace {

struct Cache {
  std::mutex lock;
  std::map<int, std::unique_ptr<PX_IBitmap>> entries;
};

// Released with the library's static objects when it is unloaded.
Cache& TheCache() {
  static Cache cache;
  return cache;
}

// A strip nobody sees but whose every frame has a pixel, so frame arithmetic
// on it never meets a zero size.
std::unique_ptr<PX_IBitmap> TransparentStrip(int width, int height) {
  auto strip = std::make_unique<PX_MemBitmap>(std::max(1, width), std::max(1, height));
  PX_FillRegion(strip.get(), 0, 0, strip->Width(), strip->Height(), 0x00000000, 1.0f, kBlitCopy);
  return strip;
}

}  // namespace

PX_IBitmap* Find(int id, int fallbackWidth, int fallbackHeight, const std::function<PX_IBitmap*()>& load) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  auto found = cache.entries.find(id);
  if (found != cache.entries.end()) return found->second.get();
  std::unique_ptr<PX_IBitmap> bitmap(load());
  if (!bitmap || bitmap->Width() < 1 || bitmap->Height() < 1) bitmap = TransparentStrip(fallbackWidth, fallbackHeight);
  PX_IBitmap* entered = bitmap.get();
  cache.entries.emplace(id, std::move(bitmap));
  return entered;
}

}  // namespace bitmap_cache
