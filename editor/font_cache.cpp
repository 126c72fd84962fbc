#include "editor/font_cache.h"

#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "raster/px_cached_font.h"
#include "raster/px_font_handle.h"

namespace font_cache {
namespace {

constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;

struct Entry {
  int size;
  int orientation;
  int style;
  std::string face;
  std::unique_ptr<PX_CachedFont> font;
};

struct Cache {
  std::mutex lock;
  std::vector<Entry> entries;
};

// Released with the library's static objects when it is unloaded.
Cache& TheCache() {
  static Cache cache;
  return cache;
}

int QualityOf(int styleQuality) {
  switch (styleQuality) {
    case kQualityNonAntialiased: return kFontQualityNonAntialiased;
    case kQualityAntialiased: return kFontQualityAntialiased;
    case kQualityClearType: return kFontQualityClearType;
    default: return kFontQualityDefault;
  }
}

}  // namespace

PX_IFont* Find(const ITextStyle& style) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  for (const Entry& entry : cache.entries) {
    if (std::tie(entry.size, entry.orientation, entry.style) == std::tie(style.size, style.orientation, style.style) &&
        entry.face == style.face) {
      return entry.font.get();
    }
  }
  PX_FontRequest request;
  request.height = style.size;
  request.escapement = style.orientation * 10;
  request.weight = style.style == kTextBold ? kBoldWeight : kNormalWeight;
  request.italic = style.style == kTextItalic;
  request.quality = QualityOf(style.quality);
  request.face = style.face;
  PX_FontHandle handle = PX_CreateFontHandle(request);
  if (!handle) return nullptr;
  auto font = std::make_unique<PX_CachedFont>();
  font->SetFromGdiFont(handle, kFontOwnsHandle | kFontDirectAllowed);
  PX_IFont* made = font.get();
  cache.entries.push_back({style.size, style.orientation, style.style, style.face, std::move(font)});
  return made;
}

}  // namespace font_cache
