#include "plugin/module_handle.h"

#include <atomic>

namespace {
std::atomic<void*> gModule{nullptr};
}

void SetPluginModuleHandle(void* module) { gModule.store(module); }
void* PluginModuleHandle() { return gModule.load(); }
