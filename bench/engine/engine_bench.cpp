// Prints what the engine costs at 48000 Hz in host blocks of 512, as thread CPU
// time (the machine is shared; a render preempted by other work says nothing
// about the engine):
//   - playing: nanoseconds per voice-sample and the realtime factor for 1, 8,
//     16 and 64 held voices of two patches: "bright" (sync, LFO FM, resonant
//     Smooth filter with LFO, chorus on) and the first factory program (synced
//     saws into a resonant Dirty filter, chorus on), each with the scalar voice
//     code (one voice after another, what the SSE2 path was before it had
//     vector code of its own), the portable SSE2 vector code and AVX2 (the path
//     the engine picks where it can). The notes have been held for 30 s, so
//     their envelopes have come to rest;
//   - note start: the same for the first seconds of struck notes, while the
//     envelopes still move. The first factory program's filter envelope
//     decays over many seconds and moves the cutoff across a new coefficient
//     set every few samples, which held notes at rest never do;
//   - idle: nanoseconds per sample of one instance with no voice sounding,
//     chorus on and off, once the chorus line has gone silent;
//   - many instances: 16 instances with 8 held notes each, rendered block by
//     block in turn, per voice-sample (compare with one instance of 8);
//   - the time to construct the first SynthEngine of the process (wave tables
//     included) and further ones.
// Idle and many instances run on the path the engine picks. Figures only, no
// pass or fail.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "bench/bright_patch.h"
#include "engine/engine_parameter.h"
#include "engine/synth_engine.h"
#include "engine/vector_path.h"

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

enum Patch : int { kBright = 0, kFirstFactoryProgram = 1 };

void ApplyPatch(SynthEngine& engine, int patch) {
  for (int index = 0; index < p::kCount; ++index) Set(engine, index, p::kRanges[index].defaultValue);
  // "Sync Heaven", slot 1 of the factory bank (resources/factory_bank.txt).
  const std::vector<std::pair<int, double>> factory = {{p::kFmAmount, 44.4444},
                                                       {p::kFmSource, 1},
                                                       {p::kOsc2Tune, 0},
                                                       {p::kSync, 1},
                                                       {p::kFilterMode, 1},
                                                       {p::kFilterFrequency, 9236.5487},
                                                       {p::kFilterResonance, 77},
                                                       {p::kFilterEnvAmount, 61.0317},
                                                       {p::kLfoFrequency, 6.7661},
                                                       {p::kFilterEnvDecay, 73.0397},
                                                       {p::kAmpEnvRelease, 50.3095},
                                                       {p::kChorus, 1}};
  if (patch == kBright) {
    for (const auto& [index, value] : kBrightPatch) Set(engine, index, value);
  } else {
    for (const auto& [index, value] : factory) Set(engine, index, value);
  }
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

struct Instance {
  SilentHost host;
  SynthEngine engine{host};
};

// Blocks from the note-ons until held notes have come to rest: the first
// factory program's filter envelope stops moving the cutoff index after about
// 25 s.
constexpr int kBlocksToRest = static_cast<int>(30 * kRate / kBlock);
// The stretch the note-start figure measures.
constexpr int kNoteStartBlocks = static_cast<int>(4 * kRate / kBlock);

// An instance with voices held notes, their first block not yet rendered.
std::unique_ptr<Instance> StruckInstance(int patch, int voices) {
  auto instance = std::make_unique<Instance>();
  instance->engine.Reset(kRate, kBlock);
  ApplyPatch(instance->engine, patch);
  HoldNotes(instance->engine, voices);
  return instance;
}

// An instance with voices held notes, rendered until they have come to rest.
std::unique_ptr<Instance> PlayingInstance(int patch, int voices, std::vector<double>& left,
                                          std::vector<double>& right) {
  auto instance = StruckInstance(patch, voices);
  for (int i = 0; i < kBlocksToRest; ++i) instance->engine.RenderBlock(left.data(), right.data(), kBlock);
  return instance;
}

bool AllSounding(const SynthEngine& engine, int voices) {
  int sounding = 0;
  for (int v = 0; v < SynthEngine::kVoiceCount; ++v) sounding += engine.VoiceAt(v).IsSounding();
  return sounding == voices;
}

void ReportCost(benchmark::State& state, double cpuPerBlock, double unitsPerSample, const char* unitName) {
  state.counters[unitName] = cpuPerBlock * 1e9 / (static_cast<double>(kBlock) * unitsPerSample);
  state.counters["realtime_factor"] = (kBlock / kRate) / cpuPerBlock;
  state.counters["percent_of_core"] = 100.0 * cpuPerBlock / (kBlock / kRate);
}

// Renders instances block by block in turn for the benchmark's iterations and
// reports the CPU cost per unit (voice-sample or sample) and the realtime factor.
void MeasureRender(benchmark::State& state, const std::vector<std::unique_ptr<Instance>>& instances,
                   std::vector<double>& left, std::vector<double>& right, double unitsPerSample, const char* unitName) {
  const double startCpu = ThreadCpuSeconds();
  for (auto _ : state) {
    for (const auto& instance : instances) {
      instance->engine.RenderBlock(left.data(), right.data(), kBlock);
      benchmark::DoNotOptimize(left.data());
      benchmark::ClobberMemory();
    }
  }
  ReportCost(state, (ThreadCpuSeconds() - startCpu) / static_cast<double>(state.iterations()), unitsPerSample,
             unitName);
}

const char* PathName(VectorPath path) {
  switch (path) {
    case VectorPath::kSse2: return "SSE2";
    case VectorPath::kAvx2: return "AVX2";
    default: return "scalar";
  }
}

// The arguments of Playing and NoteStart: patch, held voices, vector path (0
// SSE2, 1 AVX2, 2 scalar). The path stays selected while the case lives.
struct VoiceCase {
  explicit VoiceCase(benchmark::State& state)
      : patch(static_cast<int>(state.range(0))),
        voices(static_cast<int>(state.range(1))),
        path(static_cast<VectorPath>(state.range(2))),
        selected(SelectVectorPath(path)) {
    if (!selected) {
      state.SkipWithError("this processor has no AVX2");
      return;
    }
    state.SetLabel(std::string(patch == kBright ? "bright, " : "first factory program, ") + PathName(path));
  }
  ~VoiceCase() { SelectVectorPath(BestVectorPath()); }
  VoiceCase(const VoiceCase&) = delete;
  VoiceCase& operator=(const VoiceCase&) = delete;

  const int patch;
  const int voices;
  const VectorPath path;
  const bool selected;
};

void Playing(benchmark::State& state) {
  const VoiceCase voiceCase(state);
  if (!voiceCase.selected) return;
  std::vector<double> left(kBlock), right(kBlock);
  std::vector<std::unique_ptr<Instance>> instances;
  instances.push_back(PlayingInstance(voiceCase.patch, voiceCase.voices, left, right));
  if (!AllSounding(instances[0]->engine, voiceCase.voices)) state.SkipWithError("not every voice is sounding");
  MeasureRender(state, instances, left, right, voiceCase.voices, "ns_per_voice_sample");
}
BENCHMARK(Playing)
    ->ArgNames({"patch", "voices", "path"})
    ->ArgsProduct({{kBright, kFirstFactoryProgram}, {1, 8, 16, 64}, {2, 0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Arguments as for Playing. Every iteration strikes the notes in a new
// instance and renders their first 4 s; only the renders are timed.
void NoteStart(benchmark::State& state) {
  const VoiceCase voiceCase(state);
  if (!voiceCase.selected) return;
  std::vector<double> left(kBlock), right(kBlock);
  double cpu = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    const auto instance = StruckInstance(voiceCase.patch, voiceCase.voices);
    state.ResumeTiming();
    const double start = ThreadCpuSeconds();
    for (int i = 0; i < kNoteStartBlocks; ++i) {
      instance->engine.RenderBlock(left.data(), right.data(), kBlock);
      benchmark::DoNotOptimize(left.data());
      benchmark::ClobberMemory();
    }
    cpu += ThreadCpuSeconds() - start;
    if (!AllSounding(instance->engine, voiceCase.voices)) state.SkipWithError("not every voice is sounding");
  }
  ReportCost(state, cpu / (static_cast<double>(state.iterations()) * kNoteStartBlocks), voiceCase.voices,
             "ns_per_voice_sample");
}
BENCHMARK(NoteStart)
    ->ArgNames({"patch", "voices", "path"})
    ->ArgsProduct({{kBright, kFirstFactoryProgram}, {16, 64}, {2, 0, 1}})
    ->Unit(benchmark::kMillisecond);

// Argument: chorus off (0) or on (1). Notes were played and released, so the
// voices' phases run at their own pitches; the render starts once the chorus
// line has gone silent.
void Idle(benchmark::State& state) {
  std::vector<double> left(kBlock), right(kBlock);
  std::vector<std::unique_ptr<Instance>> instances;
  instances.push_back(PlayingInstance(kBright, SynthEngine::kVoiceCount, left, right));
  SynthEngine& engine = instances[0]->engine;
  Set(engine, p::kChorus, static_cast<double>(state.range(0)));
  engine.ReleaseAllVoices();
  for (int i = 0; i < 100; ++i) engine.RenderBlock(left.data(), right.data(), kBlock);
  if (!AllSounding(engine, 0)) state.SkipWithError("a voice is still sounding");
  MeasureRender(state, instances, left, right, 1.0, "ns_per_sample");
  if (left[kBlock - 1] != 0.0) state.SkipWithError("idle output is not silent");
}
BENCHMARK(Idle)->ArgName("chorus")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// 16 instances with 8 held notes each, rendered block by block in turn.
void ManyInstances(benchmark::State& state) {
  constexpr int kInstances = 16;
  constexpr int kVoices = 8;
  std::vector<double> left(kBlock), right(kBlock);
  std::vector<std::unique_ptr<Instance>> instances;
  for (int i = 0; i < kInstances; ++i) instances.push_back(PlayingInstance(kBright, kVoices, left, right));
  MeasureRender(state, instances, left, right, kInstances * kVoices, "ns_per_voice_sample");
}
BENCHMARK(ManyInstances)->Unit(benchmark::kMicrosecond);

// Wall and thread CPU milliseconds to construct and reset an instance.
struct ConstructionTime {
  double wallMs;
  double cpuMs;
};

ConstructionTime TimeToConstruct(SilentHost& host, std::unique_ptr<SynthEngine>& engine, double rate) {
  const auto start = std::chrono::steady_clock::now();
  const double startCpu = ThreadCpuSeconds();
  engine = std::make_unique<SynthEngine>(host);
  engine->Reset(rate, kBlock);
  return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
          (ThreadCpuSeconds() - startCpu) * 1e3};
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything else in the process touches the engine's shared tables.
  SilentHost host;
  std::unique_ptr<SynthEngine> first, second, third;
  const ConstructionTime firstTime = TimeToConstruct(host, first, kRate);
  const ConstructionTime secondTime = TimeToConstruct(host, second, kRate);
  const ConstructionTime thirdTime = TimeToConstruct(host, third, 44100.0);
  std::printf(
      "construct + reset, wall (CPU) ms: first instance %.2f (%.2f) with the wave tables, second %.3f (%.3f), "
      "third at another rate %.3f (%.3f) with its pitch tables\n",
      firstTime.wallMs, firstTime.cpuMs, secondTime.wallMs, secondTime.cpuMs, thirdTime.wallMs, thirdTime.cpuMs);
  first.reset();
  second.reset();
  third.reset();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
