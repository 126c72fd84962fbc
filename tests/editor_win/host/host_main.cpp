// vorn-editorhost: a Windows host that opens the plug-in's editor in a window
// of its own, drives it with window messages, photographs it and opens and
// closes it under load. Prints one line per check and exits non-zero when
// any failed.
//
// Usage: vorn-editorhost [--check-layout] <library.dll> <tag> <screenshot folder> [<reference folder>]
//   --check-layout: the library carries the check layout (the check
//   plug-in), so its controls are driven and its pictures compared.
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/editor_win/host/host_checks.h"

int main(int argc, char** argv) {
  int arg = 1;
  HostContext context;
  if (arg < argc && std::strcmp(argv[arg], "--check-layout") == 0) {
    context.checkLayout = true;
    ++arg;
  }
  if (argc - arg < 3 || argc - arg > 4) {
    std::fprintf(stderr,
                 "usage: vorn-editorhost [--check-layout] <library.dll> <tag> <screenshot folder> "
                 "[<reference folder>]\n");
    return 2;
  }
  const std::string library = argv[arg];
  context.library.assign(library.begin(), library.end());
  context.tag = argv[arg + 1];
  context.screenshotDir = argv[arg + 2];
  if (argc - arg == 4) context.referenceDir = argv[arg + 3];
  Report report(context.tag);
  context.report = &report;

  CheckWindow(context);
  CheckPictures(context);
  CheckKeys(context);
  if (context.checkLayout) {
    CheckPointer(context);
    CheckTextEntry(context);
    CheckMenu(context);
    CheckBankDialogs(context);
    CheckResize(context);
  }
  CheckOpenClose(context);
  std::printf("editor host %s: %d passed, %d failed\n", context.tag.c_str(), report.Passed(), report.Failed());
  return report.Failed() == 0 ? 0 : 1;
}
