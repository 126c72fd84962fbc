// What the VST 2 binding costs on top of the engine: one 512-frame block with
// 16 voices through processReplacing (float conversion, lock, want-MIDI call)
// against the same work done directly by RenderBlock, in one run.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "product/vorn.h"

namespace {

constexpr int kBlock = 512;
constexpr int kVoices = 16;

std::unique_ptr<Vorn> SoundingInstance() {
  auto vorn = std::make_unique<Vorn>(nullptr);
  vorn->FillEmptyPresets(64);
  vst2::AEffect* effect = vorn->Effect();
  effect->dispatcher(effect, vst2::effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect->dispatcher(effect, vst2::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  effect->dispatcher(effect, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
  vorn->SelectPreset(5);  // "Fat Saws": held notes, chorus on
  for (int i = 0; i < kVoices; ++i)
    vorn->HandleMidiMessage(MidiMessage{0, 0x90, static_cast<std::uint8_t>(40 + i), 100});
  return vorn;
}

void ThroughBinding(benchmark::State& state) {
  auto vorn = SoundingInstance();
  vst2::AEffect* effect = vorn->Effect();
  std::vector<float> left(kBlock), right(kBlock);
  float* outputs[2] = {left.data(), right.data()};
  for (auto _ : state) {
    effect->processReplacing(effect, nullptr, outputs, kBlock);
    benchmark::DoNotOptimize(left.data());
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

void DirectRenderBlock(benchmark::State& state) {
  auto vorn = SoundingInstance();
  std::vector<double> left(kBlock), right(kBlock);
  double* outputs[2] = {left.data(), right.data()};
  for (auto _ : state) {
    vorn->RenderBlock(nullptr, outputs, kBlock);
    benchmark::DoNotOptimize(left.data());
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

BENCHMARK(DirectRenderBlock)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ThroughBinding)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
