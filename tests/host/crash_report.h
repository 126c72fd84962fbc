// When the plug-in crashes the checker, the last words say which step was
// running and how far the tally had got, so a crash names the opcode that
// caused it. The platform file chosen by CMake installs the handler.
#pragma once

// Installs the handler once, at start-up. Where another handler was already
// installed (a sanitizer's), it still runs after ours has spoken.
void InstallCrashReport();

// Records the step about to run and the tally so far (main thread; the
// handler reads it only when the process is going down).
void NoteCrashContext(const char* step, int passed, int failed);

// Formats the last words into `text` (at most `capacity` bytes, terminated)
// without allocating, since the handler runs in a broken process. Answers
// the length.
int FormatCrashReport(const char* cause, char* text, int capacity);
