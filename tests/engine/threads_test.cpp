// Instances in one process render at the same time on their own threads, each
// at its own sample rate, while others are created and reset: the shared wave
// and pitch tables and the sample-and-hold sequence stay consistent and every
// instance keeps its own pitch.
#include <gtest/gtest.h>

#include <thread>

#include "engine/engine_parameter.h"
#include "engine_test_support.h"

namespace p = engine_parameter;

TEST(Threads, InstancesAtDifferentRatesRenderConcurrentlyAtTheirOwnPitch) {
  const double rates[] = {44100.0, 48000.0, 96000.0};
  double measured[3] = {0.0, 0.0, 0.0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([t, &rates, &measured]() {
      RecordingHost host;
      for (int round = 0; round < 3; ++round) {
        SynthEngine engine(host);
        engine.Reset(rates[(t + round) % 3], 512);
        engine.Reset(rates[t], 512);
        ApplyPlainPatch(engine, {{p::kLfoWave, 2}, {p::kLfoFrequency, 50}, {p::kFilterLfoAmount, 0}});
        NoteOn(engine, 69);
        Render(engine, static_cast<int>(rates[t] * 0.05));
        const std::vector<double> out = Render(engine, static_cast<int>(rates[t] * 0.5)).left;
        measured[t] = MeasureFrequency(out, rates[t]);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 3; ++t) EXPECT_NEAR(measured[t], 440.0, 0.05) << rates[t];
}
