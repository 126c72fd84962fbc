// The test plug-in module: Vorn with the test editor layout, loaded by the
// X11 tests through VSTPluginMain like any host loads vorn.so.
#include "editor/igraphics.h"
#include "product/vorn.h"
#include "plugin/vst2/plugin_factory.h"
#include "tests/editor_x11/testee_layout.h"

VstPlugin* CreatePluginInstance(vst2::HostCallback host) {
  Vorn* plugin = new Vorn(host);
  if (auto* graphics = dynamic_cast<IGraphics*>(plugin->Editor())) testee_layout::Build(*graphics);
  return plugin;
}
