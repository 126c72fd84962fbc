// vorn-hostcheck: loads a VST 2 plug-in library the way a host does and
// checks Vorn's behaviour through the effect record alone.
//
//   vorn-hostcheck <plug-in library>
//   vorn-hostcheck --threads <seconds> <plug-in library>
//
// Prints one line per failed check and closes with "N passed, N failed";
// the exit status is 0 only when nothing failed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/host/check_report.h"
#include "tests/host/checks.h"
#include "tests/host/crash_report.h"
#include "tests/host/plugin_library.h"
#include "tests/host/thread_soak.h"

namespace {

constexpr int kUsageStatus = 2;

int Usage() {
  std::fprintf(stderr, "usage: vorn-hostcheck [--threads <seconds>] <plug-in library>\n");
  return kUsageStatus;
}

void RunConformance(CheckContext& context) {
  CheckEffectRecord(context);
  CheckDispatcherAnswers(context);
  CheckPinsAndSpeakers(context);
  CheckPrograms(context);
  CheckParameterTexts(context);
  CheckParameterCallbacks(context);
  CheckChunks(context);
  CheckVendorChunkRule(context);
  CheckHostIdentification(context);
  CheckMidiIntake(context);
  CheckAudioCallbacks(context);
  CheckSampleRates(context);
  CheckBadPointers(context);
}

}  // namespace

int main(int argc, char** argv) {
  double soakSeconds = 0.0;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
      soakSeconds = std::atof(argv[++i]);
      if (soakSeconds <= 0.0) return Usage();
    } else if (path.empty() && argv[i][0] != '-') {
      path = argv[i];
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();

  InstallCrashReport();
  CheckReport report;
  report.BeginArea("loading");
  PluginLibrary library(path);
  report.Check(library.IsOpen(), "open " + path, "the library", library.Error());
  vst2::EntryPoint entry = library.IsOpen() ? library.FindEntryPoint("VSTPluginMain") : nullptr;
  if (library.IsOpen()) report.True(entry != nullptr, "library exports \"VSTPluginMain\"", "not exported");
  if (entry == nullptr) return report.Finish();

  if (soakSeconds > 0.0) {
    RunThreadSoak(entry, soakSeconds, report);
  } else {
    CheckContext context{library, entry, report};
    RunConformance(context);
  }
  return report.Finish();
}
