// The library's entry point. Hosts call it from any thread, possibly several
// at once; instance creation is serialised by one process-wide lock.
#include <mutex>

#include "plugin/vst2/plugin_factory.h"
#include "plugin/vst2/vst_entry.h"
#include "plugin/vst2/vst_plugin.h"

namespace {

std::mutex& CreationLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

extern "C" VORN_EXPORT vst2::AEffect* VST_CALL VSTPluginMain(vst2::HostCallback host) {
  std::lock_guard<std::mutex> lock(CreationLock());
  VstPlugin* plugin = CreatePluginInstance(host);
  if (!plugin) return nullptr;
  plugin->FillEmptyPresets(PluginBase::kPresetCount);
  vst2::AEffect* effect = plugin->Effect();
  if (effect->numPrograms <= 0) effect->numPrograms = 1;
  return effect;
}
