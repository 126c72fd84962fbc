#include "raster/px_png_resources.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct ImageTable {
  std::mutex lock;
  std::map<int, std::pair<const void*, size_t>> images;
};

ImageTable& Table() {
  static ImageTable table;
  return table;
}

}  // namespace

void PX_RegisterPngResource(int id, const void* bytes, size_t length) {
  ImageTable& table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  table.images[id] = {bytes, length};
}

bool PX_FindPngResource(int id, const void** bytes, size_t* length) {
  ImageTable& table = Table();
  std::lock_guard<std::mutex> hold(table.lock);
  auto found = table.images.find(id);
  if (found == table.images.end()) return false;
  *bytes = found->second.first;
  *length = found->second.second;
  return true;
}
