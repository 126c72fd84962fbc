// Exported entry points: VSTPluginMain, and the same function as `main` for
// hosts that look for the older name (see the platform attach files).
#pragma once

#include "plugin/vst2/vst2_abi.h"

#if defined(_WIN32)
#define VORN_EXPORT
#else
#define VORN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VORN_EXPORT vst2::AEffect* VST_CALL VSTPluginMain(vst2::HostCallback host);
