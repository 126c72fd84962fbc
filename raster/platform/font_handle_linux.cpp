// Linux fonts: fontconfig finds the file for the face name (its aliases map
// "Arial" to a metric-compatible face such as Liberation Sans) and FreeType
// opens it at the requested size.
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <mutex>
#include <string>

#include "raster/platform/freetype_font.h"
#include "raster/px_font_handle.h"

namespace px_freetype {

FT_Library Library() {
  static std::once_flag once;
  static FT_Library library = nullptr;
  std::call_once(once, [] {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  });
  return library;
}

}  // namespace px_freetype

namespace {

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
  FT_Library library = px_freetype::Library();
  std::string file;
  int index = 0;
  if (!library || !FindFontFile(request, &file, &index)) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;

  const int height = request.height != 0 ? request.height : kDefaultHeight;
  FT_Size_RequestRec size{};
  size.type = height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
  size.height = static_cast<FT_Long>(std::abs(height)) * 64;
  if (FT_Request_Size(face, &size) != 0) {
    FT_Done_Face(face);
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
}
