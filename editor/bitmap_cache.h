// The process-wide cache of decoded editor images, keyed by resource
// identifier and shared by every editor instance; the bitmaps live until
// the library is unloaded. Any thread: one lock guards lookup and insertion.
#pragma once

#include <functional>

class PX_IBitmap;

namespace bitmap_cache {

// The bitmap under id; on a miss, load() is called (under the lock, so an
// image is decoded once) and its result entered. A null result enters a
// transparent fallbackWidth x fallbackHeight bitmap instead, so callers
// always get one.
PX_IBitmap* Find(int id, int fallbackWidth, int fallbackHeight, const std::function<PX_IBitmap*()>& load);

}  // namespace bitmap_cache
