// The editor's images are the library's "PNG" resources 101 to 108, which
// the raster layer finds in the module itself.
#include "product/editor/editor_images.h"

void RegisterEditorImages() {}
