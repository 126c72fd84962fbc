#include "product/vorn.h"
#include "plugin/vst2/plugin_factory.h"

VstPlugin* CreatePluginInstance(vst2::HostCallback host) { return new Vorn(host); }
