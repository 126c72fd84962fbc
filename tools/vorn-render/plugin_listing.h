// What the tool tells about a loaded plug-in: its effect record, its
// programs and its parameters, and the lookup of a program by number or name.
#pragma once

#include <cstdio>
#include <string>

#include "tools/vorn-render/plugin_host.h"

namespace render {

void PrintEffectRecord(PluginHost& host, std::FILE* out);
void PrintPrograms(PluginHost& host, std::FILE* out);
void PrintParameters(PluginHost& host, std::FILE* out);

std::string ProgramName(PluginHost& host, std::int32_t index);
// A decimal number picks that program; any other text is a name, matched
// exactly first and then ignoring letter case. -1 with a reason when nothing fits.
std::int32_t FindProgram(PluginHost& host, const std::string& wanted, std::string& error);

}  // namespace render
