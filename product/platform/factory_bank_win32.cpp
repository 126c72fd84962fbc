// The factory bank is the library's "PROGDATA" resource named "PROGINIT".
#include <windows.h>

#include "plugin/module_handle.h"
#include "product/factory_bank.h"

bool FactoryBankBytes(const void*& data, int& size) {
  const auto module = static_cast<HMODULE>(PluginModuleHandle());
  HRSRC resource = FindResourceA(module, "PROGINIT", "PROGDATA");
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  data = bytes;
  size = static_cast<int>(SizeofResource(module, resource));
  return true;
}
