// The check plug-in: Vorn with the check layout in its editor, so that the
// Windows host can drive controls whose places and parameters it knows.
#include "product/vorn.h"
#include "plugin/vst2/plugin_factory.h"
#include "tests/editor_win/check_layout.h"

VstPlugin* CreatePluginInstance(vst2::HostCallback host) {
  Vorn* vorn = new Vorn(host);
  editor_check::Build(*vorn->GetGraphics());
  vorn->RefreshEditorControls();
  return vorn;
}
