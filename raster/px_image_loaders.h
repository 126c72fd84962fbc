// The process-wide list of image-file loaders, for file dialogs and for
// loading pictures from disk. Each entry is a load function and a function
// that returns its file-type filter: a description and a pattern, each ended
// by a zero byte.
#pragma once

#include <vector>

#include "raster/px_bitmap.h"

using PX_ImageFileLoad = PX_IBitmap* (*)(const char* path, bool checkExtension, PX_IBitmap* bitmap);
using PX_ImageFileTypes = const char* (*)();

struct PX_ImageFileLoader {
  PX_ImageFileLoad load;
  PX_ImageFileTypes fileTypes;
};

// The list, filled with the PNG loader on first use. Any thread.
const std::vector<PX_ImageFileLoader>& PX_ImageFileLoaders();

// "PNG files (*.PNG)" and "*.PNG", each followed by a zero byte.
const char* PX_PngFileTypes();
