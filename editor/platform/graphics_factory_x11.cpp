// Linux builds with Xlib give the product the X11 window layer: the host is
// offered the editor, and the editor connects to the X server only when the
// host opens it.
#include "editor/platform/graphics_factory.h"
#include "editor/platform/igraphics_x11.h"

IGraphics* CreatePlatformGraphics(PluginBase* plugin) { return new IGraphicsX11(plugin); }
