// vorn-chaos: a host that behaves badly, on purpose and reproducibly.
//
//   vorn-chaos [--seed N] [--seconds S] [--instances K] [--second-thread] <plug-in library>
//     drives K instances with a random stream of host calls for S seconds,
//     checking after every call; the seed (random unless given) is printed
//     first, and the same seed makes the same calls. With --second-thread
//     another thread sets parameters, programs and chunks on the same
//     instances meanwhile, from a stream of its own.
//   vorn-chaos --parallel K [--seed N] [--seconds S] <plug-in library>
//     renders K instances at once, each on its own thread at its own sample
//     rate, while another thread creates and destroys instances, and checks
//     that each renders what it renders alone; S is the audio per instance.
//   vorn-chaos --editor [--seed N] [--seconds S] <plug-in library>
//     opens, drives and closes editors of instances whose audio keeps
//     running, for S seconds (exits 77, skipped, without a window system).
//
// Exits 0 when every check passed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/chaos/chaos_editor.h"
#include "tests/chaos/chaos_host.h"
#include "tests/chaos/library_allocations.h"
#include "tests/chaos/parallel_run.h"
#include "tests/chaos/watchdog.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/plugin_library.h"

namespace {

constexpr int kUsageStatus = 2;
// What ctest counts as a skipped test.
constexpr int kSkippedStatus = 77;
// A single call that takes this long has hung (generous for sanitizer
// builds and Wine on a loaded machine).
constexpr double kHangSeconds = 60.0;

int Usage() {
  std::fprintf(stderr,
               "usage: vorn-chaos [--seed N] [--seconds S] [--instances K [--second-thread] | --parallel K | --editor] "
               "<plug-in library>\n");
  return kUsageStatus;
}

// Starts counting the plug-in's allocations and tells how it is done, after
// seeing the count move while an instance is made (which allocates): a
// count that cannot see the plug-in's allocations must not pass for one.
std::string WatchAllocations(vst2::EntryPoint entry) {
  std::string how;
  if (!WatchLibraryAllocations(reinterpret_cast<const void*>(entry), how)) return how;
  const std::size_t before = ThreadLibraryAllocations();
  { PluginInstance instance(entry); }
  if (ThreadLibraryAllocations() == before) return "NOT counted: making an instance showed no allocation (" + how + ")";
  return how;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  double seconds = 10.0;
  int instances = 2;
  int parallel = 0;
  bool secondThread = false;
  bool editor = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--seconds") == 0 && hasValue) {
      seconds = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--instances") == 0 && hasValue) {
      instances = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--second-thread") == 0) {
      secondThread = true;
    } else if (std::strcmp(argv[i], "--parallel") == 0 && hasValue) {
      parallel = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--editor") == 0) {
      editor = true;
    } else if (path.empty() && argv[i][0] != '-') {
      path = argv[i];
    } else {
      return Usage();
    }
  }
  if (path.empty() || seconds <= 0.0 || instances < 1 || parallel < 0) return Usage();
  std::printf("chaos: seed %llu\n", static_cast<unsigned long long>(seed));
  std::fflush(stdout);

  PluginLibrary library(path);
  if (!library.IsOpen()) {
    std::fprintf(stderr, "chaos: cannot load %s: %s\n", path.c_str(), library.Error().c_str());
    return 1;
  }
  vst2::EntryPoint entry = library.FindEntryPoint("VSTPluginMain");
  if (entry == nullptr) {
    std::fprintf(stderr, "chaos: %s exports no VSTPluginMain\n", path.c_str());
    return 1;
  }

  bool passed = false;
  if (editor) {
    const EditorRunResult result = RunEditorChaos(entry, seed, seconds, kHangSeconds);
    if (result == EditorRunResult::kNoWindowSystem) return kSkippedStatus;
    passed = result == EditorRunResult::kPassed;
  } else if (parallel > 0) {
    passed = RunParallel(entry, seed, parallel, seconds);
  } else {
    std::printf("chaos: allocations in process calls: %s\n", WatchAllocations(entry).c_str());
    Watchdog watchdog(kHangSeconds, seed);
    ChaosHost host(entry, seed, instances, watchdog);
    if (secondThread) host.UseSecondThread();
    auto start = std::chrono::steady_clock::now();
    passed = host.Run(seconds);
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("chaos: %s\n", host.FileFigures().c_str());
    if (secondThread) {
      std::printf("chaos: %llu calls from the second thread\n",
                  static_cast<unsigned long long>(host.secondThreadCalls()));
    }
    std::printf("chaos: %llu calls into %d instance(s) in %.1f s, seed %llu\n",
                static_cast<unsigned long long>(host.calls()), instances, took, static_cast<unsigned long long>(seed));
  }
  std::printf("chaos: %s\n", passed ? "passed" : "FAILED");
  return passed ? 0 : 1;
}
