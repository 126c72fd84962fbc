// Builds without a window layer give the product the headless surface: the
// editor exists, draws and is driven by tools and tests, and the host is not
// offered it (CanOpenWindow is false).
#include "editor/platform/graphics_factory.h"
#include "editor/platform/igraphics_headless.h"

IGraphics* CreatePlatformGraphics(PluginBase* plugin) { return new IGraphicsHeadless(plugin); }
