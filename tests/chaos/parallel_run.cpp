#include "tests/chaos/parallel_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "tests/chaos/chaos_random.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"

namespace {

constexpr float kRates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f, 88200.0f, 32000.0f, 8000.0f, 192000.0f};
constexpr int kBlocks[] = {32, 64, 128, 256, 441, 512, 1024};
constexpr int kProgramCount = 64;
// Blocks the churning thread renders with each instance it makes.
constexpr int kChurnBlocks = 8;

using Audio = std::vector<float>;

// The piece of instance `index`: its rate, block size and program, then per
// block a few notes, controllers and parameter moves, all from its seed.
Audio RenderPiece(vst2::EntryPoint entry, std::uint64_t seed, int index, double seconds) {
  ChaosRandom random(seed + static_cast<std::uint64_t>(index) * 7919u);
  const float rate = kRates[static_cast<std::size_t>(index) % (sizeof(kRates) / sizeof(kRates[0]))];
  const int block = random.Pick(kBlocks);
  PluginInstance instance(entry);
  if (!instance.IsValid()) return {};
  instance.Start(rate, block);
  instance.SelectProgram(random.Below(kProgramCount));
  const int frames = static_cast<int>(seconds * static_cast<double>(rate));
  Audio out;
  out.reserve(static_cast<std::size_t>(frames) * 2);
  std::vector<float> left(static_cast<std::size_t>(block)), right(static_cast<std::size_t>(block));
  float* outputs[2] = {left.data(), right.data()};
  vst2::AEffect* effect = instance.effect();
  for (int done = 0; done < frames; done += block) {
    EventList events;
    for (int n = random.Below(4); n > 0; --n) {
      int delta = random.Below(block);
      auto note = static_cast<std::uint8_t>(36 + random.Below(48));
      switch (random.Below(8)) {
        case 0:
        case 1:
        case 2: events.Midi(delta, kNoteOn, note, static_cast<std::uint8_t>(1 + random.Below(127))); break;
        case 3:
        case 4: events.Midi(delta, kNoteOff, note, 0); break;
        case 5: events.Midi(delta, kControlChange, 1, static_cast<std::uint8_t>(random.Below(128))); break;
        case 6: events.Midi(delta, kPitchBend, 0, static_cast<std::uint8_t>(random.Below(128))); break;
        default: events.Midi(delta, kProgramChange, static_cast<std::uint8_t>(random.Below(kProgramCount)), 0); break;
      }
    }
    instance.Dispatch(vst2::effProcessEvents, 0, 0, events.Events());
    if (random.Chance(100)) instance.SetParameter(random.Below(effect->numParams), random.Unit());
    effect->processReplacing(effect, nullptr, outputs, block);
    int count = std::min(block, frames - done);
    for (int i = 0; i < count; ++i) {
      out.push_back(left[static_cast<std::size_t>(i)]);
      out.push_back(right[static_cast<std::size_t>(i)]);
    }
  }
  return out;
}

// Makes, plays, loads a bank into and closes instances until told to stop.
long Churn(vst2::EntryPoint entry, std::uint64_t seed, const std::atomic<bool>& stop) {
  ChaosRandom random(seed ^ 0x5eedu);
  long made = 0;
  std::vector<float> left(256), right(256);
  float* outputs[2] = {left.data(), right.data()};
  while (!stop.load()) {
    auto instance = std::make_unique<PluginInstance>(entry);
    if (!instance->IsValid()) continue;
    instance->Start(random.Pick(kRates), 256);
    EventList chord;
    chord.Midi(0, kNoteOn, 60, 100).Midi(0, kNoteOn, 64, 100).Midi(3, kNoteOn, 67, 100);
    instance->Dispatch(vst2::effProcessEvents, 0, 0, chord.Events());
    vst2::AEffect* effect = instance->effect();
    for (int n = 0; n < kChurnBlocks; ++n) effect->processReplacing(effect, nullptr, outputs, 256);
    SetChunk(*instance, kBankChunk, GetChunk(*instance, kBankChunk));
    instance->SelectProgram(random.Below(kProgramCount));
    ++made;
  }
  return made;
}

}  // namespace

bool RunParallel(vst2::EntryPoint entry, std::uint64_t seed, int instances, double seconds) {
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  std::vector<Audio> alone;
  for (int i = 0; i < instances; ++i) alone.push_back(RenderPiece(entry, seed, i, seconds));
  double aloneSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  start = Clock::now();
  std::vector<Audio> together(static_cast<std::size_t>(instances));
  std::atomic<bool> stop{false};
  long churned = 0;
  std::thread churn([&] { churned = Churn(entry, seed, stop); });
  std::vector<std::thread> threads;
  for (int i = 0; i < instances; ++i) {
    threads.emplace_back([&, i] { together[static_cast<std::size_t>(i)] = RenderPiece(entry, seed, i, seconds); });
  }
  for (std::thread& thread : threads) thread.join();
  stop.store(true);
  churn.join();
  double togetherSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  bool passed = true;
  // A short random piece may legitimately stay silent (a slow attack, notes
  // released before they sound); the comparison means something as long as
  // most pieces are heard.
  int silent = 0;
  for (int i = 0; i < instances; ++i) {
    const Audio& a = alone[static_cast<std::size_t>(i)];
    const Audio& b = together[static_cast<std::size_t>(i)];
    double peak = 0.0;
    bool finite = true;
    for (float x : a) {
      finite = finite && std::isfinite(x);
      peak = std::max(peak, static_cast<double>(std::fabs(x)));
    }
    if (peak == 0.0) ++silent;
    if (a.empty() || !finite) {
      std::fprintf(stderr, "chaos: FAIL instance %d rendered alone gave %s (seed %llu)\n", i,
                   a.empty() ? "nothing" : "samples that are no number", static_cast<unsigned long long>(seed));
      passed = false;
    } else if (a != b) {
      std::size_t at = 0;
      while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
      std::fprintf(stderr,
                   "chaos: FAIL instance %d renders differently beside the others from sample %zu (seed %llu)\n", i,
                   at / 2, static_cast<unsigned long long>(seed));
      passed = false;
    }
  }
  if (silent * 2 > instances) {
    std::fprintf(stderr, "chaos: FAIL %d of %d instances rendered alone gave silence (seed %llu)\n", silent, instances,
                 static_cast<unsigned long long>(seed));
    passed = false;
  }
  std::printf(
      "chaos: %d instances, %.1f s of audio each: alone %.1f s, together %.1f s while %ld more were made and "
      "closed\n",
      instances, seconds, aloneSeconds, togetherSeconds, churned);
  return passed;
}
