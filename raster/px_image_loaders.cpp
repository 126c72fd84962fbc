#include "raster/px_image_loaders.h"

#include "raster/px_png.h"

const char* PX_PngFileTypes() { return "PNG files (*.PNG)\0*.PNG\0"; }

const std::vector<PX_ImageFileLoader>& PX_ImageFileLoaders() {
  static const std::vector<PX_ImageFileLoader> loaders{{&LoadPngFromFile, &PX_PngFileTypes}};
  return loaders;
}
