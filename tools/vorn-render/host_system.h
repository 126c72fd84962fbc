// The few facts about the running process that differ between platforms.
#pragma once

#include <string>

namespace render {

// The plug-in file name the tool looks for beside itself: vorn.so on Linux,
// vorn64.dll or vorn.dll on Windows according to the tool's own bitness.
extern const char* const kDefaultPluginFileName;

// The folder holding the running executable, "" when unknown.
std::string ExecutableDirectory();
bool StderrIsTerminal();
// CPU time used by this process so far.
double ProcessCpuSeconds();

}  // namespace render
