// Both views of a few factory programs, pixel for pixel against reviewed
// images. After a deliberate change to the artwork, the controls or the text
// drawing, regenerate them and look at every one before committing:
//   VORN_UPDATE_GOLDEN=1 build/release/tests/product_editor/product_editor_test --gtest_filter='VornEditorGolden*'
#include <cstdlib>
#include <memory>
#include <string>

#include "raster/px_png.h"
#include "tests/product_editor/vorn_editor_fixture.h"

namespace {

struct GoldenCase {
  const char* file;
  const char* program;
  // Renames the program and sets these parameters to their extremes, for
  // the longest texts the display and the value texts meet.
  bool stretchTexts;
};

constexpr GoldenCase kCases[] = {
    {"sync_heaven", "Sync Heaven", false},
    {"classic_analog_brass", "Classic Analog Brass", false},
    {"broken_synth_hold", "Broken Synth (Hold)", false},
    {"long_texts", "S/H Rezo Pad", true},
};

std::string GoldenPath(const std::string& name) { return std::string(VORN_GOLDEN_DIR) + "/" + name + ".png"; }

// Counts the pixels of the editor image that differ from the golden file.
int DifferingPixels(PX_IBitmap& image, const std::string& path) {
  std::unique_ptr<PX_IBitmap> golden(LoadPngFromFile(path.c_str(), true, nullptr));
  if (!golden || golden->Width() != image.Width() || golden->Height() != image.Height()) return -1;
  int differing = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.Pixels()[y * image.RowSpan() + x] != golden->Pixels()[y * golden->RowSpan() + x]) ++differing;
  return differing;
}

class VornEditorGolden : public VornEditorTest {
 protected:
  void CheckView(const std::string& name) {
    Redraw();
    const std::string path = GoldenPath(name);
    if (std::getenv("VORN_UPDATE_GOLDEN")) {
      ASSERT_TRUE(Editor().WritePng(path.c_str())) << path;
      return;
    }
    const int differing = DifferingPixels(*Editor().DrawBitmapSurface(), path);
    if (differing != 0) {
      const std::string actual = name + ".actual.png";
      Editor().WritePng(actual.c_str());
      ADD_FAILURE() << name << ": " << differing << " pixels differ from " << path << " (-1: missing or other size);"
                    << " this run's image: " << actual;
    }
  }
};

TEST_F(VornEditorGolden, BothViewsOfFactoryPrograms) {
  for (const GoldenCase& golden : kCases) {
    SCOPED_TRACE(golden.file);
    int program = 0;
    while (program < PluginBase::kPresetCount && golden.program != std::string(vorn->GetPresetName(program))) ++program;
    ASSERT_LT(program, PluginBase::kPresetCount) << "no factory program " << golden.program;
    vorn->GoToProgram(program);
    if (golden.stretchTexts) {
      vorn->ModifyCurrentPreset("Spookey Rectabells Through a Broken Tape Echo");
      for (int param : {3, 6, 12, 20, 14, 17}) {
        vorn->GetParam(param)->SetNormalized(param == 6 || param == 17 ? 0.0 : 1.0);
      }
      vorn->GetParam(1)->SetValue(1);   // "Multiple"
      vorn->GetParam(19)->SetValue(0);  // "Triangle"
      vorn->RefreshEditorControls();
    }
    if (Layout().IsSecondViewShown()) vorn->SwitchView();
    CheckView(std::string(golden.file) + "_view1");
    vorn->SwitchView();
    CheckView(std::string(golden.file) + "_view2");
  }
}

}  // namespace
