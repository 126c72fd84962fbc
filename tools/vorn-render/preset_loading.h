// Puts a program or bank file into a plug-in the way hosts do: chunk forms
// through effSetChunk (index 1 for a program, 0 for a bank), parameter forms
// through setParameter, program by program for a bank.
#pragma once

#include <string>

#include "tools/vorn-render/plugin_host.h"
#include "tools/vorn-render/preset_file.h"

namespace render {

// Refuses a file made for another plug-in, a chunk for a plug-in without
// chunks, and a value count that differs from the plug-in's parameter count.
// Returns a one-line description of what was loaded.
bool LoadPresetIntoPlugin(PluginHost& host, PresetFile& file, std::string& description, std::string& error);

}  // namespace render
