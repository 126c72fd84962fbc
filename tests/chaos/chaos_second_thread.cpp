// The host's second thread: what a host's user-interface and automation
// threads do while its audio thread renders. It sets and reads parameters,
// asks for their texts, changes programs and sets chunks on the instances
// the driving thread processes, with draws from a generator of its own, so
// its stream of calls is the same for a seed whatever the interleaving.
//
// It holds the host's lock for each call; the driving thread takes it to
// close or replace an instance and around its chunk and file work, as a host
// serialises its own state handling (a chunk's bytes belong to the plug-in
// only until its next chunk call, whichever thread makes it).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>

#include "tests/chaos/chaos_host.h"
#include "tests/chaos/odd_arguments.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"

namespace {

// Set apart from the driving thread's generator.
constexpr std::uint64_t kSecondThreadSeed = 0x5ec0d7;
// Chunks the second thread keeps to set again.
constexpr std::size_t kKeptChunks = 4;
// Now and then the thread pauses as a user-interface thread does between
// events, so that the driving thread gets the lock.
constexpr int kCallsBetweenPauses = 16;
constexpr auto kPause = std::chrono::microseconds(200);

}  // namespace

std::unique_lock<std::mutex> ChaosHost::HoldSecondThread() {
  return secondThread_.joinable() ? std::unique_lock<std::mutex>(secondLock_) : std::unique_lock<std::mutex>();
}

void ChaosHost::StartSecondThread() {
  secondStop_.store(false);
  secondThread_ = std::thread([this] {
    ChaosRandom random(seed_ ^ kSecondThreadSeed);
    std::vector<Chunk> kept;
    for (std::uint64_t n = 1; !secondStop_.load(); ++n) {
      SecondThreadStep(random, kept);
      if (n % kCallsBetweenPauses == 0)
        std::this_thread::sleep_for(kPause);
      else
        std::this_thread::yield();
    }
  });
}

void ChaosHost::StopSecondThread() {
  if (!secondThread_.joinable()) return;
  secondStop_.store(true);
  secondThread_.join();
}

void ChaosHost::SecondThreadFail(const std::string& what) {
  secondFailures_.fetch_add(1);
  std::fprintf(stderr, "chaos: FAIL %s (on the second thread, its call %llu, seed %llu)\n", what.c_str(),
               static_cast<unsigned long long>(secondCalls_.load()), static_cast<unsigned long long>(seed_));
}

void ChaosHost::SecondThreadStep(ChaosRandom& random, std::vector<Chunk>& kept) {
  std::lock_guard<std::mutex> hold(secondLock_);
  const Slot& slot = slots_[static_cast<std::size_t>(random.Below(static_cast<int>(slots_.size())))];
  const int kind = random.Below(100);
  const float value = random.Chance(300) ? random.Pick(kOddValues) : random.Unit();
  const int draw = random.Below(1 << 20);
  const std::size_t pick = static_cast<std::size_t>(random.Below(static_cast<int>(kKeptChunks)));
  const bool bank = random.Chance(300);
  if (!slot.plugin || !slot.plugin->IsValid()) return;
  PluginInstance& plugin = *slot.plugin;
  vst2::AEffect* effect = plugin.effect();
  secondCalls_.fetch_add(1);
  const int parameter = OddIndex(random, effect->numParams);
  const bool valid = parameter >= 0 && parameter < effect->numParams;
  char text[kTextBuffer];
  std::memset(text, kTextFill, sizeof(text));
  text[0] = '\0';
  if (kind < 40) {
    // Automation: a stream of values for one parameter.
    effect->setParameter(effect, parameter, value);
  } else if (kind < 55) {
    const float read = effect->getParameter(effect, parameter);
    if (!std::isfinite(read) || (valid && (read < 0.0f || read > 1.0f))) {
      SecondThreadFail("parameter " + std::to_string(parameter) + " reads " + std::to_string(read));
    }
  } else if (kind < 75) {
    constexpr std::int32_t kOpcodes[] = {vst2::effGetParamDisplay, vst2::effGetParamLabel, vst2::effGetParamName};
    plugin.Dispatch(kOpcodes[draw % 3], parameter, 0, text);
    const std::string fault = TextFault(text, 64);
    if (!fault.empty()) SecondThreadFail("a parameter text" + fault);
  } else if (kind < 82) {
    std::strcpy(text, kValueTexts[static_cast<std::size_t>(draw) % std::size(kValueTexts)]);
    plugin.Dispatch(vst2::effString2Parameter, parameter, 0, text);
  } else if (kind < 90) {
    plugin.Dispatch(vst2::effSetProgram, 0, OddIndex(random, effect->numPrograms));
    const vst2::IntPtr program = plugin.Dispatch(vst2::effGetProgram);
    if (program < 0 || program >= effect->numPrograms) {
      SecondThreadFail("the current program is " + std::to_string(program));
    }
  } else if (kind < 94) {
    plugin.Dispatch(vst2::effGetProgramNameIndexed, OddIndex(random, effect->numPrograms), 0, text);
    const std::string fault = TextFault(text, vst2::kVstMaxProgNameLen + 1);
    if (!fault.empty()) SecondThreadFail("a program name" + fault);
  } else if (kind < 97 || kept.size() < kKeptChunks) {
    Chunk chunk = GetChunk(plugin, bank ? kBankChunk : kProgramChunk);
    if (kept.size() < kKeptChunks)
      kept.push_back(std::move(chunk));
    else
      kept[pick] = std::move(chunk);
  } else {
    // A chunk this thread took, from any instance, now and then cut short.
    Chunk chunk = kept[pick];
    if (draw % 4 == 0) chunk.resize(static_cast<std::size_t>(draw) % (chunk.size() + 1));
    SetChunk(plugin, IsProgramChunk(chunk) ? kProgramChunk : kBankChunk, std::move(chunk));
  }
}
