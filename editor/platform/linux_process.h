// Running helper programs of the desktop (zenity, kdialog, xdg-open) from
// the editor: found on PATH, started without a shell, their output read.
#pragma once

#include <functional>
#include <string>
#include <vector>

// True when program is an executable file in a PATH folder.
bool ProgramOnPath(const char* program);

// Runs argv (argv[0] looked up on PATH), collects its standard output and
// answers its exit status, or -1 when it could not start or was stopped
// because keepWaiting answered false (it is then killed). keepWaiting is
// asked about ten times a second.
int RunProgram(const std::vector<std::string>& argv, std::string& output, const std::function<bool()>& keepWaiting);

// Starts argv and does not wait for it to end (it is not left as a zombie);
// false when it could not be started.
bool StartProgram(const std::vector<std::string>& argv);
