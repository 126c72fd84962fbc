// Figures for the editor's drawing cycle on Vorn's own editor surface, with
// a background and 40 controls (24 knobs with a 63-frame strip and value
// texts, 8 switches, 4 faders, 4 captions) from the test layout's artwork:
//   - composing the whole 832 x 376 editor (target: median under 2 ms);
//   - a tick in which one knob changed: dirty-area collection, recomposing
//     its box and presenting it to the memory target (under 50 us);
//   - a tick with nothing dirty (under 2 us).
// Medians over repetitions: run with --benchmark_repetitions=9 (the default
// set below) and read the "_median" lines.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/ibitmap_control.h"
#include "editor/ifader_control.h"
#include "editor/igraphics.h"
#include "editor/iknob_control.h"
#include "editor/iswitch_control.h"
#include "editor/itext_control.h"
#include "product/vorn.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

constexpr int kKnobs = 24;
constexpr int kSwitches = 8;
constexpr int kFaders = 4;
constexpr int kCaptions = 4;

// A knob drawn from its strip with its value text under it, as the
// product's knobs are.
class TextKnob : public IKnobControl {
 public:
  TextKnob(PluginBase* plugin, int x, int y, int param, const IBitmapStrip& strip)
      : IKnobControl(plugin, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight() + 16}, param), mStrip(strip) {
    SetTextStyle(ITextStyle("Arial", 13, {255, 255, 255, 192}));
  }
  bool Draw(IGraphics* graphics) override {
    const IBox& box = GetBox();
    const IBox image{box.left, box.top, box.right, box.top + mStrip.FrameHeight()};
    graphics->DrawBitmapFrame(mStrip, image, static_cast<int>(62 * Value() + 0.5) + 1, &Blend());
    char text[IParam::kDisplaySize];
    Param()->GetDisplay(Param()->Value(), false, text, true);
    return graphics->DrawText(TextStyle(), text, {box.left - 8, image.bottom + 2, box.right + 8, box.bottom});
  }

 private:
  IBitmapStrip mStrip;
};

struct Editor {
  std::unique_ptr<Vorn> vorn = std::make_unique<Vorn>(nullptr);
  IGraphics& graphics = *vorn->GetGraphics();
  TextKnob* firstKnob = nullptr;

  Editor() {
    test_layout::RegisterArtwork();
    graphics.Resize(IGraphics::kDefaultWidth, IGraphics::kDefaultHeight);
    PluginBase* plugin = vorn.get();
    using namespace test_layout;
    graphics.AttachControl(new IBitmapControl(plugin, 0, 0, -1, graphics.LoadBitmapById(kBackgroundId, "b.png")));
    const IBitmapStrip knob = graphics.LoadBitmapById(kKnobId, "k.png", kKnobFrames);
    for (int i = 0; i < kKnobs; ++i) {
      auto* control = new TextKnob(plugin, 24 + 64 * (i % 8), 48 + 80 * (i / 8), i, knob);
      if (i == 0) firstKnob = control;
      graphics.AttachControl(control);
    }
    const IBitmapStrip button = graphics.LoadBitmapById(kSwitchId, "s.png", 2);
    for (int i = 0; i < kSwitches; ++i)
      graphics.AttachControl(new ISwitchControl(plugin, 24 + 64 * i, 300, 24 + i, button));
    const IBitmapStrip handle = graphics.LoadBitmapById(kHandleId, "h.png");
    for (int i = 0; i < kFaders; ++i)
      graphics.AttachControl(new IFaderControl(plugin, 560 + 60 * i, 60, 120, 12 + i, handle));
    for (int i = 0; i < kCaptions; ++i) {
      graphics.AttachControl(new ITextControl(plugin, {560, 220 + 24 * i, 820, 240 + 24 * i},
                                              ITextStyle("Arial", 14, {255, 200, 200, 200}, kAlignLeft),
                                              "Caption text of a section"));
    }
    vorn->RefreshEditorControls();
    Tick();
    Tick();
  }
  bool Tick() {
    IBox dirty;
    return graphics.CollectDirtyArea(dirty) && graphics.Draw(dirty);
  }
};

void ComposeWholeEditor(benchmark::State& state) {
  Editor editor;
  const IBox whole{0, 0, editor.graphics.Width(), editor.graphics.Height()};
  for (auto _ : state) benchmark::DoNotOptimize(editor.graphics.Draw(whole));
  state.counters["controls"] = editor.graphics.NControls() - 1;
}

void OneKnobChanging(benchmark::State& state) {
  Editor editor;
  double value = 0.0;
  for (auto _ : state) {
    value = value > 0.9 ? 0.0 : value + 0.05;
    editor.firstKnob->ApplyPluginValue(value);
    benchmark::DoNotOptimize(editor.Tick());
  }
}

void TickWithNothingDirty(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) benchmark::DoNotOptimize(editor.Tick());
}

BENCHMARK(ComposeWholeEditor)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(OneKnobChanging)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(TickWithNothingDirty)->Unit(benchmark::kNanosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
