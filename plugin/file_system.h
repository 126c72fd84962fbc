// The file operations of the plug-in frame. Paths are UTF-8 everywhere in
// Vorn; the platform file (platform/file_system_<platform>.cpp) hands them to
// the system: Windows through its wide (UTF-16) functions, so that a folder
// named outside the ANSI code page works, Linux as the bytes they are.
#pragma once

#include <cstdio>

namespace file_system {

// fopen with a UTF-8 path; mode is "rb" or "wb".
std::FILE* Open(const char* utf8Path, const char* mode);
// Pushes a written file's bytes to the disk before it replaces another.
bool Sync(std::FILE* file);
// Renames from over to, replacing to if it exists.
bool MoveReplacing(const char* fromUtf8, const char* toUtf8);
void Remove(const char* utf8Path);
// Distinguishes the temporary files of two processes writing the same file.
unsigned long ProcessId();

}  // namespace file_system
