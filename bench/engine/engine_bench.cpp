// Prints what the engine costs: nanoseconds per voice-sample and the realtime
// factor for 1, 16 and 64 held voices at 48000 Hz in blocks of 512 (a bright
// patch: sync, LFO FM, resonant filter with LFO, chorus on), and the time to
// construct the first SynthEngine of the process (wave tables included) and a
// second one. Targets: at most 12 ns per voice-sample; first instance under
// 60 ms, second under 5 ms. Figures only, no pass or fail.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "engine/engine_parameter.h"
#include "engine/synth_engine.h"

namespace {

namespace p = engine_parameter;

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

class SilentHost : public EngineHost {
 public:
  void SelectProgramFromMidi(int) override {}
  bool OfferControllerToLearn(int) override { return false; }
  void ApplyMappedController(int, double) override {}
};

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

void Set(SynthEngine& engine, int index, double value) {
  engine.ApplyParameter(index, value, p::Normalize(index, value));
}

void ApplyBrightPatch(SynthEngine& engine) {
  for (int index = 0; index < p::kCount; ++index) Set(engine, index, p::kRanges[index].defaultValue);
  const std::pair<int, double> patch[] = {
      {p::kVolume, 40},           {p::kFmAmount, 35},          {p::kOsc2Transpose, 7},
      {p::kOsc2Tune, 9},          {p::kSync, 1},               {p::kFilterFrequency, 15500},
      {p::kFilterResonance, 35},  {p::kFilterLfoAmount, 60},   {p::kFilterEnvAmount, 70},
      {p::kFilterEnvSustain, 1},  {p::kLfoFrequency, 5},       {p::kChorus, 1},
      {p::kChorusDepth, 50}};
  for (const auto& [index, value] : patch) Set(engine, index, value);
}

void HoldNotes(SynthEngine& engine, int count) {
  for (int i = 0; i < count; ++i) {
    MidiEvent event;
    event.status = 0x90;
    event.data1 = static_cast<std::uint8_t>(30 + i);
    event.data2 = static_cast<std::uint8_t>(64 + i % 64);
    event.frameOffset = i % kBlock;
    engine.HandleMidiMessage(event);
  }
}

void RenderVoices(benchmark::State& state) {
  const int voices = static_cast<int>(state.range(0));
  SilentHost host;
  SynthEngine engine(host);
  engine.Reset(kRate, kBlock);
  ApplyBrightPatch(engine);
  HoldNotes(engine, voices);
  std::vector<double> left(kBlock), right(kBlock);
  for (int i = 0; i < 50; ++i) engine.RenderBlock(left.data(), right.data(), kBlock);
  int sounding = 0;
  for (int v = 0; v < SynthEngine::kVoiceCount; ++v) sounding += engine.VoiceAt(v).IsSounding();
  if (sounding != voices) state.SkipWithError("not every voice is sounding");

  // Thread CPU time, not wall time: the machine is shared, and a render
  // preempted by other work says nothing about the engine.
  const double startCpu = ThreadCpuSeconds();
  for (auto _ : state) {
    engine.RenderBlock(left.data(), right.data(), kBlock);
    benchmark::DoNotOptimize(left.data());
    benchmark::ClobberMemory();
  }
  const double cpuPerBlock = (ThreadCpuSeconds() - startCpu) / static_cast<double>(state.iterations());
  state.counters["ns_per_voice_sample"] = cpuPerBlock * 1e9 / (static_cast<double>(kBlock) * voices);
  state.counters["realtime_factor"] = (kBlock / kRate) / cpuPerBlock;
  state.counters["percent_of_core"] = 100.0 * cpuPerBlock / (kBlock / kRate);
}
BENCHMARK(RenderVoices)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMicrosecond);

double MillisecondsToConstruct(SilentHost& host, std::unique_ptr<SynthEngine>& engine, double rate) {
  const auto start = std::chrono::steady_clock::now();
  engine = std::make_unique<SynthEngine>(host);
  engine->Reset(rate, kBlock);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything else in the process touches the engine's shared tables.
  SilentHost host;
  std::unique_ptr<SynthEngine> first, second, third;
  const double firstMs = MillisecondsToConstruct(host, first, kRate);
  const double secondMs = MillisecondsToConstruct(host, second, kRate);
  const double thirdMs = MillisecondsToConstruct(host, third, 44100.0);
  std::printf("construct + reset: first instance %.2f ms (wave tables included), second %.3f ms, "
              "third at another rate %.3f ms (its pitch tables built)\n",
              firstMs, secondMs, thirdMs);
  first.reset();
  second.reset();
  third.reset();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
