// Host automation on one thread while the window thread runs ticks, draws
// and turns knobs, and Vorn's own editor drawing its value texts while the
// audio thread changes programs: run under ThreadSanitizer, they must report
// nothing, and every control must end within its range.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <thread>

#include "editor/platform/igraphics_headless.h"
#include "plugin/vst2/vst2_abi.h"
#include "product/vorn.h"
#include "tests/editor/editor_fixture.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

void ExpectControlsInRange(IGraphics& graphics) {
  for (int i = 0; i < graphics.NControls(); ++i) {
    const double value = graphics.GetControl(i)->Value();
    EXPECT_GE(value, 0.0) << i;
    EXPECT_LE(value, 1.0) << i;
  }
}

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
  while (std::chrono::steady_clock::now() < end || automated.load() < 10 || ticks <= 10) {
    f.graphics->Tick();
    f.graphics->OnMouseWheel(56, 96, {}, ticks % 2 ? 1 : -1);
    ++ticks;
  }
  stop.store(true);
  host.join();
  f.graphics->Tick();

  ExpectControlsInRange(*f.graphics);
}

// A program change by MIDI sets every parameter and the current program on
// the audio thread, and the host renames programs, both under the plug-in
// mutex, while the window thread draws the knobs' texts and the program's
// number and name.
TEST(EditorThreads, TextsDrawWhileTheHostChangesAndRenamesPrograms) {
  Vorn vorn(nullptr);
  auto* headless = new IGraphicsHeadless(&vorn);
  vorn.AttachGraphics(headless);
  vorn.BuildEditor();
  vst2::AEffect* effect = vorn.Effect();
  std::atomic<bool> stop{false};
  std::atomic<long> changes{0};

  std::thread audio([&] {
    vst2::VstMidiEvent change{};
    change.type = vst2::kVstMidiType;
    change.byteSize = sizeof change;
    vst2::VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<vst2::VstEvent*>(&change);
    float left[64] = {}, right[64] = {};
    float* outputs[2] = {left, right};
    for (int program = 0; !stop.load(); program = (program + 7) % PluginBase::kPresetCount) {
      change.midiData[0] = static_cast<char>(0xC0);
      change.midiData[1] = static_cast<char>(program);
      effect->dispatcher(effect, vst2::effProcessEvents, 0, 0, &list, 0.0f);
      effect->processReplacing(effect, nullptr, outputs, 64);
      char name[] = "Renamed by the host, at length";
      if (program % 2) name[7] = '\0';
      effect->dispatcher(effect, vst2::effSetProgramName, 0, 0, name, 0.0f);
      changes.fetch_add(1);
    }
  });

  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  long draws = 0;
  while (std::chrono::steady_clock::now() < end || changes.load() < 10 || draws <= 10) {
    headless->MarkAllDirty();
    headless->Tick();
    ++draws;
  }
  stop.store(true);
  audio.join();

  ExpectControlsInRange(*headless);
}

// The MIDI learn switch arms and disarms learning on the window thread while
// the host's automation on the audio thread offers parameters to learn.
TEST(EditorThreads, MidiLearnSwitchedWhileTheHostAutomates) {
  Vorn vorn(nullptr);
  auto* headless = new IGraphicsHeadless(&vorn);
  vorn.AttachGraphics(headless);
  vorn.BuildEditor();
  vst2::AEffect* effect = vorn.Effect();
  std::atomic<bool> stop{false};
  std::atomic<long> automated{0};

  std::thread audio([&] {
    for (int i = 0; !stop.load(); ++i) {
      effect->setParameter(effect, i % effect->numParams, static_cast<float>(i % 10) / 10.0f);
      automated.fetch_add(1);
    }
  });

  // The learn switch of Vorn's layout: a click arms learning, the next one
  // disarms it.
  constexpr int kLearnSwitchX = 700;
  constexpr int kLearnSwitchY = 285;
  headless->Click(kLearnSwitchX, kLearnSwitchY);
  EXPECT_TRUE(vorn.IsMidiLearnArmed());
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  long clicks = 0;
  while (std::chrono::steady_clock::now() < end || automated.load() < 10 || clicks <= 10) {
    // A user holds the button a moment before letting go.
    headless->OnMouseDown(kLearnSwitchX, kLearnSwitchY, IGraphicsHeadless::LeftButton());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    headless->OnMouseUp(kLearnSwitchX, kLearnSwitchY, IGraphicsHeadless::LeftButton());
    headless->Tick();
    ++clicks;
  }
  stop.store(true);
  audio.join();

  for (int i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect, i);
    EXPECT_GE(value, 0.0f) << i;
    EXPECT_LE(value, 1.0f) << i;
  }
}

}  // namespace
