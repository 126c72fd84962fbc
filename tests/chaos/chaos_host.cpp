#include "tests/chaos/chaos_host.h"

#include <chrono>
#include <cstdio>

#include "tests/chaos/temporary_folder.h"
#include "tests/chaos/watchdog.h"
#include "tests/host/plugin_instance.h"

namespace {
// Room the plug-in may be handed for pointer arguments it should not need.
constexpr std::size_t kScratchBytes = 64 * 1024;
}  // namespace

ChaosHost::ChaosHost(vst2::EntryPoint entry, std::uint64_t seed, int instances, Watchdog& watchdog)
    : entry_(entry),
      seed_(seed),
      watchdog_(watchdog),
      random_(seed),
      slots_(static_cast<std::size_t>(instances)),
      folder_(std::make_unique<TemporaryFolder>("vorn-chaos-")),
      left_(kLargestCallFrames + 1),
      right_(kLargestCallFrames + 1),
      leftDouble_(kLargestCallFrames + 1),
      rightDouble_(kLargestCallFrames + 1),
      scratch_(kScratchBytes) {}

ChaosHost::~ChaosHost() { StopSecondThread(); }

void ChaosHost::Note(const char* what) {
  action_ = what;
  watchdog_.Beat(what);
  ++calls_;
}

void ChaosHost::Fail(const std::string& what) {
  ++failures_;
  std::fprintf(stderr, "chaos: FAIL %s (during \"%s\", call %llu, seed %llu)\n", what.c_str(), action_,
               static_cast<unsigned long long>(calls_), static_cast<unsigned long long>(seed_));
}

void ChaosHost::Recreate(Slot& slot) {
  // Sometimes politely, sometimes with processing still on.
  if (slot.plugin && slot.resumed && random_.Chance(500)) {
    Note("effMainsChanged off before close");
    slot.plugin->Dispatch(vst2::effMainsChanged, 0, 0);
  }
  Note("effClose / create");
  slot.plugin = std::make_unique<PluginInstance>(entry_);
  if (!slot.plugin->IsValid()) {
    Fail("the entry point returned no effect record");
    return;
  }
  slot.resumed = false;
  slot.connectedOutputs = 2;
  slot.warmedUp = false;
  slot.sampleRate = 44100.0f;
  slot.announcedBlock = 512;
  // A host may skip effOpen; most send it first.
  if (random_.Chance(900)) {
    Note("effOpen");
    slot.plugin->Dispatch(vst2::effOpen);
  }
}

bool ChaosHost::Run(double seconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  for (Slot& slot : slots_) Recreate(slot);
  if (useSecondThread_) StartSecondThread();
  while (failures_ == 0 && secondFailures_.load() == 0 && Clock::now() < end) {
    Slot& slot = slots_[static_cast<std::size_t>(random_.Below(static_cast<int>(slots_.size())))];
    Step(slot);
  }
  StopSecondThread();
  // The end of a host session: every instance closed, some abruptly.
  for (Slot& slot : slots_) {
    Note("effClose at the end");
    slot.plugin.reset();
  }
  return failures_ == 0 && secondFailures_.load() == 0;
}

void ChaosHost::Step(Slot& slot) {
  int roll = random_.Below(100);
  // Chunks, files and replacing an instance: the second thread waits.
  const std::unique_lock<std::mutex> hold = roll >= 85 ? HoldSecondThread() : std::unique_lock<std::mutex>();
  if (roll < 40)
    Process(slot);
  else if (roll < 50)
    SendMidi(slot, slot.announcedBlock);
  else if (roll < 60)
    SetParameter(slot);
  else if (roll < 63)
    ChangeSampleRate(slot);
  else if (roll < 66)
    ChangeBlockSize(slot);
  else if (roll < 71)
    SwitchProcessing(slot);
  else if (roll < 75)
    ChangeProgram(slot);
  else if (roll < 81)
    AskTexts(slot);
  else if (roll < 85)
    AskOther(slot);
  else if (roll < 87)
    TakeChunk(slot);
  else if (roll < 88)
    SaveFile(slot);
  else if (roll < 89)
    LoadFile(slot);
  else if (roll < 95)
    GiveChunk(slot);
  else if (roll < 98)
    RoundTrip(slot);
  else if (random_.Chance(300))
    Recreate(slot);
}
