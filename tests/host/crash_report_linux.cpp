// Linux: a signal handler that writes the last words, puts back the handler
// that was there before (the default one, or a sanitizer's) and returns, so
// the faulting instruction runs again and that handler has its say.
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "tests/host/crash_report.h"

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kSignalCount = sizeof(kFatalSignals) / sizeof(kFatalSignals[0]);

struct sigaction g_previous[kSignalCount];

const char* SignalName(int signal) {
  switch (signal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    default: return "SIGABRT";
  }
}

void OnFatalSignal(int signal) {
  char text[512];
  int length = FormatCrashReport(SignalName(signal), text, sizeof(text));
  ssize_t written = write(STDOUT_FILENO, text, static_cast<size_t>(length));
  (void)written;
  for (int i = 0; i < kSignalCount; ++i) {
    if (kFatalSignals[i] == signal) sigaction(signal, &g_previous[i], nullptr);
  }
}

}  // namespace

void InstallCrashReport() {
  struct sigaction action;
  std::memset(&action, 0, sizeof(action));
  action.sa_handler = OnFatalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (int i = 0; i < kSignalCount; ++i) sigaction(kFatalSignals[i], &action, &g_previous[i]);
}
