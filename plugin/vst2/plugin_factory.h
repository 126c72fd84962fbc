// The one product-specific step of the entry point: building the instance.
#pragma once

#include "plugin/vst2/vst2_abi.h"

class VstPlugin;

VstPlugin* CreatePluginInstance(vst2::HostCallback host);
