// Golden images of the test layout on the headless surface, compared pixel
// for pixel. To regenerate them after an intended change of the drawing:
//   VORN_UPDATE_GOLDEN=1 ctest --test-dir build/release -R EditorGolden
// and review the PNGs in tests/editor/golden before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "raster/png_encode.h"
#include "raster/px_png.h"
#include "tests/editor/editor_fixture.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

std::string GoldenPath(const std::string& name) { return std::string(VORN_EDITOR_GOLDEN_DIR) + "/" + name + ".png"; }

// Counts the pixels that differ; -1 when the sizes differ or nothing loads.
long DifferingPixels(PX_IBitmap& drawn, const std::string& path) {
  std::unique_ptr<PX_IBitmap> golden(LoadPngFromFile(path.c_str(), true, nullptr));
  if (!golden || golden->Width() != drawn.Width() || golden->Height() != drawn.Height()) return -1;
  long differing = 0;
  for (int y = 0; y < drawn.Height(); ++y) {
    for (int x = 0; x < drawn.Width(); ++x) differing += PixelAt(&drawn, x, y) != PixelAt(golden.get(), x, y);
  }
  return differing;
}

void ExpectGolden(IGraphicsHeadless& graphics, const std::string& name) {
  PX_IBitmap& drawn = *graphics.DrawBitmapSurface();
  const std::string path = GoldenPath(name);
  const char* update = std::getenv("VORN_UPDATE_GOLDEN");
  if (update && *update && *update != '0') {
    ASSERT_TRUE(PX_WritePngFile(drawn, path.c_str())) << path;
    return;
  }
  EXPECT_EQ(DifferingPixels(drawn, path), 0) << name << " differs from " << path;
}

TEST(EditorGolden, TheTestLayoutInThreeStates) {
  EditorFixture f;
  test_layout::Build(*f.graphics);
  f.plugin.RefreshEditorControls();
  IGraphicsHeadless& g = *f.graphics;
  struct State {
    const char* name;
    std::function<void()> change;
  };
  const State states[] = {
      {"layout-initial", [] {}},
      {"layout-edited",
       [&] {
         g.DragFromTo(56, 100, 56, 76);     // first knob up by half its height: +0.125
         g.OnMouseWheel(216, 96, {}, -20);  // third knob down by 0.2
         g.Click(572, 100);                 // fader handle...
         g.DragFromTo(572, 132, 572, 172);  // ...dragged down
         g.Click(50, 228);                  // switch on
         g.QueueMenuChoice({"Single"});
         g.Click(130, 228);  // the pop-up switch's menu
       }},
      {"layout-grayed-hidden",
       [&] {
         g.GetControl(2)->SetGrayed(true);
         g.GetControl(4)->Hide(true);
         f.plugin.GetParam(test_layout::kFaderParam)->SetValue(90.0);
         f.plugin.RefreshEditorControls();
       }},
  };
  for (const State& state : states) {
    state.change();
    g.Tick();
    g.Tick();
    ExpectGolden(g, state.name);
    EXPECT_EQ(g.UnmatchedMenuChoices().size(), 0u);
  }
  EXPECT_EQ(g.MenusShown().size(), 1u);
}

}  // namespace
