// vorn-editor-reference <folder>: composes the check layout's states on the
// headless surface and writes them as <folder>/<state>.png, the images the
// Windows host compares its window captures with.
#include <cstdio>
#include <string>

#include "editor/igraphics.h"
#include "product/vorn.h"
#include "plugin/vst2/vst2_abi.h"
#include "raster/png_encode.h"
#include "tests/editor_win/check_layout.h"
#include "tests/editor_win/check_states.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vorn-editor-reference <folder>\n");
    return 2;
  }
  for (const editor_check::CheckState& state : editor_check::kStates) {
    Vorn vorn(nullptr);
    vst2::AEffect* effect = vorn.Effect();
    effect->dispatcher(effect, vst2::effOpen, 0, 0, nullptr, 0.0f);
    IGraphics* graphics = vorn.GetGraphics();
    editor_check::Build(*graphics);
    vorn.RefreshEditorControls();
    graphics->Open(nullptr);
    for (int i = 0; i < state.count; ++i) {
      effect->setParameter(effect, state.settings[i].index, state.settings[i].value);
    }
    IBox dirty;
    graphics->CollectDirtyArea(dirty);
    graphics->Draw({0, 0, graphics->Width(), graphics->Height()});
    const std::string path = std::string(argv[1]) + "/" + state.name + ".png";
    PX_IBitmap* image = graphics->DrawBitmapSurface();
    if (!image || !PX_WritePngFile(*image, path.c_str())) {
      std::fprintf(stderr, "vorn-editor-reference: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
