// The process-wide current program folder: where every program and bank file
// dialog opens, shared by all instances in the process. Editor threads only.
#pragma once

#include <string>

// The first call in the process sets the folder; later calls do nothing.
void StartCurrentProgramFolder(const std::string& folder);
const std::string& CurrentProgramFolder();
void SetCurrentProgramFolder(const std::string& folder);

// Everything before the path's last "\" or "/" that is not its first
// character; empty when there is no such separator.
std::string FolderOfPath(const std::string& path);
