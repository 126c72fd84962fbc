// Host automation on one thread while the window thread runs ticks, draws
// and turns knobs: run under ThreadSanitizer, it must report nothing, and
// every control must end within its range.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>

#include "tests/editor/editor_fixture.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

TEST(EditorThreads, AutomationWhileTheWindowThreadDraws) {
  EditorFixture f;
  test_layout::Build(*f.graphics);
  f.plugin.RefreshEditorControls();
  std::atomic<bool> stop{false};
  std::atomic<long> automated{0};

  // The host's set-parameter path: under the plug-in mutex.
  std::thread host([&] {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-0.25, 1.25);
    while (!stop.load()) {
      for (int i = 0; i < PluginBase::kParameterCount; ++i) {
        std::lock_guard<std::recursive_mutex> lock(f.plugin.Mutex());
        const double v = value(random);
        f.graphics->ApplyParameterToControls(i, v, true);
        f.plugin.GetParam(i)->SetNormalized(std::min(1.0, std::max(0.0, v)));
      }
      automated.fetch_add(1);
    }
  });

  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  long ticks = 0;
  while (std::chrono::steady_clock::now() < end || automated.load() < 10) {
    f.graphics->Tick();
    f.graphics->OnMouseWheel(56, 96, {}, ticks % 2 ? 1 : -1);
    ++ticks;
  }
  stop.store(true);
  host.join();
  f.graphics->Tick();

  EXPECT_GT(ticks, 10);
  for (int i = 0; i < f.graphics->NControls(); ++i) {
    const double value = f.graphics->GetControl(i)->Value();
    EXPECT_GE(value, 0.0) << i;
    EXPECT_LE(value, 1.0) << i;
  }
}

}  // namespace
