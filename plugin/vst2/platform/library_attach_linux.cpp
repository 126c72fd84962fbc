// Linux hosts dlopen the library and look up VSTPluginMain or `main`; the
// second name is an assembler alias, since C++ reserves main for programs.
#include "plugin/vst2/vst_entry.h"

extern "C" VORN_EXPORT vst2::AEffect* VstMainAlias(vst2::HostCallback host) __asm__("main");

extern "C" vst2::AEffect* VstMainAlias(vst2::HostCallback host) { return VSTPluginMain(host); }
