// The handle of the loaded plug-in library, stored by the library's attach
// step (DllMain on Windows) and used to read the library's own resources.
// Null on Linux, where resources are linked in as data.
#pragma once

void SetPluginModuleHandle(void* module);
void* PluginModuleHandle();
