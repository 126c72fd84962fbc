// The editor cases' audio thread: while the user-interface thread drives an
// instance's editor, it renders blocks of every size on every path, sends
// notes, controllers and program changes, and automates parameters, checking
// every output sample and every parameter it reads. Failures of either thread
// go to one log.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plugin/vst2/vst2_abi.h"
#include "tests/chaos/chaos_random.h"

class PluginInstance;
class Watchdog;

// Failures of either thread, printed with what was running and the seed.
class EditorFailureLog {
 public:
  explicit EditorFailureLog(std::uint64_t seed) : seed_(seed) {}
  void Fail(const std::string& what, const char* during, int cycle);
  bool Any() const { return count_.load() > 0; }

 private:
  const std::uint64_t seed_;
  std::mutex lock_;
  std::atomic<int> count_{0};
};

// Reads parameter `index` and logs a value that is no number or outside [0, 1].
void CheckParameter(vst2::AEffect* effect, int index, EditorFailureLog& log, const char* during, int cycle);

// The instance's audio thread while its editor is driven: blocks of every
// size on every path, notes and controllers, and parameter automation.
class EditorAudioThread {
 public:
  EditorAudioThread(PluginInstance& plugin, std::uint64_t seed, int block, EditorFailureLog& log, Watchdog& watchdog,
                    int cycle)
      : plugin_(plugin),
        random_(seed),
        block_(block),
        log_(log),
        watchdog_(watchdog),
        cycle_(cycle),
        left_(static_cast<std::size_t>(2 * block + 1)),
        right_(left_.size()),
        leftDouble_(left_.size()),
        rightDouble_(left_.size()),
        thread_([this] { Run(); }) {}
  ~EditorAudioThread() { Stop(); }
  EditorAudioThread(const EditorAudioThread&) = delete;
  EditorAudioThread& operator=(const EditorAudioThread&) = delete;

  // Ends the thread; answers the calls it made.
  std::uint64_t Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return calls_;
  }

 private:
  // Every call into the plug-in goes through here: the watchdog hears of it.
  void Note(const char* what);
  void Run();
  void SendMidi();
  void Process();
  template <typename Sample>
  void ProcessWith(std::vector<Sample>& left, std::vector<Sample>& right, int frames, bool accumulating);

  PluginInstance& plugin_;
  ChaosRandom random_;
  const int block_;
  EditorFailureLog& log_;
  Watchdog& watchdog_;
  const int cycle_;
  std::vector<float> left_, right_;
  std::vector<double> leftDouble_, rightDouble_;
  const char* during_ = "start";
  std::atomic<bool> stop_{false};
  std::uint64_t calls_ = 0;
  std::thread thread_;
};
