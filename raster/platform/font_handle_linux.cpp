// Linux fonts: fontconfig finds the file for the face name (its aliases map
// "Arial" to a metric-compatible face such as Liberation Sans) and FreeType
// opens it at the requested size.
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <mutex>
#include <string>

#include "raster/platform/freetype_font.h"
#include "raster/px_font_handle.h"

namespace {

// The process-wide FreeType library lives while this module is loaded or a
// face is open: it is released when this module's static objects end (its
// unloading, or the end of the program) with no face open, or else by the
// last face closed after that (a font cache that ends later). A host that
// loads and unloads the plug-in does not lose a FreeType library each time.
struct SharedLibrary {
  std::mutex lock;
  FT_Library library = nullptr;
  int faces = 0;
  bool unloading = false;
};

// Never destroyed by the static objects' end: the last user deletes it.
SharedLibrary* gShared = new SharedLibrary;

void ReleaseIfUnused(std::unique_lock<std::mutex>& held) {
  if (!gShared->unloading || gShared->faces > 0) return;
  if (gShared->library) FT_Done_FreeType(gShared->library);
  SharedLibrary* shared = gShared;
  gShared = nullptr;
  held.unlock();
  delete shared;
}

struct ReleaseOnUnload {
  ~ReleaseOnUnload() {
    std::unique_lock<std::mutex> held(gShared->lock);
    gShared->unloading = true;
    ReleaseIfUnused(held);
  }
} gReleaseOnUnload;

// The library for one more face; null when FreeType cannot be initialised.
FT_Library AcquireForFace() {
  std::lock_guard<std::mutex> held(gShared->lock);
  if (!gShared->library && FT_Init_FreeType(&gShared->library) != 0) gShared->library = nullptr;
  if (gShared->library) ++gShared->faces;
  return gShared->library;
}

void ReleaseForFace() {
  std::unique_lock<std::mutex> held(gShared->lock);
  --gShared->faces;
  ReleaseIfUnused(held);
}

constexpr int kBoldFrom = 600;
constexpr int kDefaultHeight = 16;

// The file and face index fontconfig picks for the request; false if none.
bool FindFontFile(const PX_FontRequest& request, std::string* file, int* index) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  const char* face = request.face && *request.face ? request.face : "Arial";
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.weight >= kBoldFrom ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* path = nullptr;
  const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
  if (found) {
    *file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace

PX_FontHandle PX_CreateFontHandle(const PX_FontRequest& request) {
  std::string file;
  int index = 0;
  if (!FindFontFile(request, &file, &index)) return nullptr;
  FT_Library library = AcquireForFace();
  if (!library) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0) {
    ReleaseForFace();
    return nullptr;
  }

  const int height = request.height != 0 ? request.height : kDefaultHeight;
  FT_Size_RequestRec size{};
  size.type = height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
  size.height = static_cast<FT_Long>(std::abs(height)) * 64;
  if (FT_Request_Size(face, &size) != 0) {
    FT_Done_Face(face);
    ReleaseForFace();
    return nullptr;
  }
  auto* font = new px_freetype::Font;
  font->face = face;
  const double ascender = face->ascender;
  const double cell = face->ascender - face->descender;
  if (height > 0) {
    font->cellHeight = height;
  } else {
    font->cellHeight = static_cast<int>(std::lround(-height * cell / face->units_per_EM));
  }
  font->ascent = cell > 0 ? static_cast<int>(std::lround(font->cellHeight * ascender / cell)) : font->cellHeight;
  font->antialiased = request.quality != kFontQualityNonAntialiased;
  return font;
}

void PX_DeleteFontHandle(PX_FontHandle handle) {
  auto* font = static_cast<px_freetype::Font*>(handle);
  if (!font) return;
  FT_Done_Face(font->face);
  delete font;
  ReleaseForFace();
}
