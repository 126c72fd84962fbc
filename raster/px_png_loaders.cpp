#include <cctype>
#include <cstring>

#include "raster/platform/file_open.h"
#include "raster/platform/png_resource.h"
#include "raster/png_decode.h"
#include "raster/px_png.h"

namespace {

// The text from the last '.', '/' or '\' on must be ".png" in any case, so a
// separator after the last dot fails the check.
bool HasPngExtension(const char* path) {
  const char* end = path + std::strlen(path);
  const char* mark = end;
  while (mark > path) {
    --mark;
    if (*mark == '.' || *mark == '/' || *mark == '\\') break;
  }
  static const char kExtension[] = ".png";
  if (end - mark != static_cast<ptrdiff_t>(sizeof(kExtension) - 1)) return false;
  for (size_t i = 0; i < sizeof(kExtension) - 1; ++i) {
    if (std::tolower(static_cast<unsigned char>(mark[i])) != kExtension[i]) return false;
  }
  return true;
}

}  // namespace

PX_IBitmap* LoadPngFromMemory(const void* bytes, size_t length) {
  const auto* encoded = static_cast<const uint8_t*>(bytes);
  if (!px_png::HasSignature(encoded, length)) return nullptr;
  px_png::Source source;
  source.cursor = encoded;
  source.unread = length;
  return px_png::Decode(source, nullptr);
}

PX_IBitmap* LoadPngFromResource(void* module, int resourceId) {
  const void* bytes = nullptr;
  size_t length = 0;
  if (!px_resource::FindPng(module, resourceId, &bytes, &length)) return nullptr;
  if (length < px_png::kSignatureLength) return nullptr;
  return LoadPngFromMemory(bytes, length);
}

PX_IBitmap* LoadPngFromFile(const char* path, bool checkExtension, PX_IBitmap* bitmap) {
  if (!path) return nullptr;
  if (checkExtension && !HasPngExtension(path)) return nullptr;
  std::FILE* file = px_file::OpenForReading(path);
  if (!file) return nullptr;
  px_png::Source source;
  source.file = file;
  PX_IBitmap* decoded = px_png::Decode(source, bitmap);
  std::fclose(file);
  return decoded;
}
