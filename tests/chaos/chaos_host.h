// The chaos host: drives one or more plug-in instances through the effect
// record with a seeded random stream of what hosts do (and do wrong), and
// checks the plug-in after every call. The same seed makes the same calls in
// the same order, so a failure printed with its seed and call number replays.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plugin/vst2/vst2_abi.h"
#include "tests/chaos/chaos_random.h"

class PluginInstance;
class TemporaryFolder;
class Watchdog;

// Every output sample of a process call stays within this magnitude: all 64
// voices at full velocity, each up to about 4 with a resonant filter, stay
// below it; a runaway filter or a gain fault does not. (Dense chords at full
// level do pass +24 dBFS.)
constexpr double kOutputBound = 256.0;
// Frames a host may hand over at most: twice the largest announced block.
constexpr int kLargestAnnouncedBlock = 8192;
constexpr int kLargestCallFrames = 2 * kLargestAnnouncedBlock;

class ChaosHost {
 public:
  ChaosHost(vst2::EntryPoint entry, std::uint64_t seed, int instances, Watchdog& watchdog);
  ~ChaosHost();
  ChaosHost(const ChaosHost&) = delete;
  ChaosHost& operator=(const ChaosHost&) = delete;

  // Runs until `seconds` have passed or a check failed; true when none did.
  bool Run(double seconds);
  std::uint64_t calls() const { return calls_; }
  // Calls from a second thread of the host alongside the driving one (see
  // chaos_second_thread.cpp); set before Run.
  void UseSecondThread() { useSecondThread_ = true; }
  std::uint64_t secondThreadCalls() const { return secondCalls_.load(); }
  // Program and bank files saved, loaded, and refused by their header.
  std::string FileFigures() const;

 private:
  struct Slot {
    std::unique_ptr<PluginInstance> plugin;
    float sampleRate = 44100.0f;
    int announcedBlock = 512;
    bool resumed = false;
    // Outputs the host connected by speaker arrangement; it passes only
    // these buffers, and only these are written.
    int connectedOutputs = 2;
    // After its first process call an instance must not allocate in one.
    bool warmedUp = false;
  };
  using Chunk = std::vector<unsigned char>;

  void Step(Slot& slot);
  void Recreate(Slot& slot);
  // Every call into the plug-in goes through here: the watchdog hears of it
  // and the tally counts it.
  void Note(const char* what);
  void Fail(const std::string& what);

  // Audio and the host's processing state (chaos_audio.cpp).
  void Process(Slot& slot);
  template <typename Sample>
  void ProcessWith(Slot& slot, int path, int frames);
  void SendMidi(Slot& slot, int frames);
  void ChangeSampleRate(Slot& slot);
  void ChangeBlockSize(Slot& slot);
  void SwitchProcessing(Slot& slot);

  // Parameters, programs, texts and other opcodes (chaos_controls.cpp).
  void SetParameter(Slot& slot);
  void ChangeProgram(Slot& slot);
  void AskTexts(Slot& slot);
  void AskOther(Slot& slot);
  void CheckText(const char* text, std::size_t limit, const char* what);

  // State chunks (chaos_chunks.cpp).
  void TakeChunk(Slot& slot);
  void GiveChunk(Slot& slot);
  void RoundTrip(Slot& slot);
  std::unique_ptr<PluginInstance> FreshInstance(vst2::IntPtr program);

  // The host's second thread (chaos_second_thread.cpp).
  void StartSecondThread();
  void StopSecondThread();
  // Keeps the second thread out while the driving thread holds it (no-op
  // without a second thread).
  std::unique_lock<std::mutex> HoldSecondThread();
  void SecondThreadStep(ChaosRandom& random, std::vector<Chunk>& kept);
  void SecondThreadFail(const std::string& what);

  // Program and bank files (chaos_files.cpp).
  struct SavedFile {
    std::filesystem::path path;
    bool bank = false;
    // A program file's parameter values when it was saved.
    std::vector<float> parameters;
  };
  void SaveFile(Slot& slot);
  void LoadFile(Slot& slot);
  void CheckSound(Slot& slot, const char* after);

  vst2::EntryPoint entry_;
  std::uint64_t seed_;
  Watchdog& watchdog_;
  ChaosRandom random_;
  std::vector<Slot> slots_;
  std::vector<Chunk> chunks_;
  // Where the files go; removed with what it holds at the end of the run.
  std::unique_ptr<TemporaryFolder> folder_;
  std::vector<SavedFile> files_;
  int filesSaved_ = 0;
  int filesLoaded_ = 0;
  int filesRefused_ = 0;
  std::vector<float> left_, right_;
  std::vector<double> leftDouble_, rightDouble_;
  std::vector<char> scratch_;
  std::uint64_t calls_ = 0;
  bool useSecondThread_ = false;
  std::mutex secondLock_;
  std::thread secondThread_;
  std::atomic<bool> secondStop_{false};
  std::atomic<std::uint64_t> secondCalls_{0};
  std::atomic<int> secondFailures_{0};
  int failures_ = 0;
  const char* action_ = "start";
};
