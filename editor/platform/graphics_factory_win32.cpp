// Windows builds give the product the Win32 window layer, bound to the
// plug-in library's module for its window class, resources and folders.
#include "editor/platform/graphics_factory.h"
#include "editor/platform/igraphics_win.h"
#include "plugin/module_handle.h"

IGraphics* CreatePlatformGraphics(PluginBase* plugin) { return new IGraphicsWin(plugin, PluginModuleHandle()); }
