// Windows: an unhandled-exception filter that writes the last words and lets
// the search go on (Wine then prints its own backtrace).
#include <windows.h>

#include <cstdio>

#include "tests/host/crash_report.h"

namespace {

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
  char cause[64];
  std::snprintf(cause, sizeof(cause), "exception 0x%08lX",
                static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
  char text[512];
  FormatCrashReport(cause, text, sizeof(text));
  std::fputs(text, stdout);
  std::fflush(stdout);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void InstallCrashReport() { SetUnhandledExceptionFilter(OnUnhandledException); }
