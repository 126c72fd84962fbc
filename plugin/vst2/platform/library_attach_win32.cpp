// The library's attach step keeps the module handle for reading resources.
// Exports, including `main` as a second name, come from vorn.def.
#include <windows.h>

#include "plugin/module_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetPluginModuleHandle(instance);
  return TRUE;
}
