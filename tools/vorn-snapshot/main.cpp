// vorn-snapshot: builds the plug-in with its editor on a surface without a
// window, applies a program and parameter values as a host would, runs one
// timer tick and writes the composed editor image as a PNG.
#include <cctype>
#include <cstdio>
#include <string>

#include "editor/igraphics.h"
#include "product/vorn.h"
#include "plugin/vst2/vst2_abi.h"
#include "raster/png_encode.h"
#include "tools/vorn-snapshot/snapshot_options.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace {

// The program's index: a number from 0, or else the first program so named.
int FindProgram(Vorn& vorn, const std::string& program) {
  bool digits = !program.empty();
  for (char c : program) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (digits) {
    const int index = program.size() < 4 ? std::stoi(program) : -1;
    return index < PluginBase::kPresetCount ? index : -1;
  }
  for (int i = 0; i < PluginBase::kPresetCount; ++i) {
    if (program == vorn.GetPresetName(i)) return i;
  }
  return -1;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vorn-snapshot: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  SnapshotOptions options;
  std::string error;
  if (!ParseSnapshotOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "vorn-snapshot: %s\n%s", error.c_str(), SnapshotUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(SnapshotUsage(), stdout);
    return 0;
  }

  Vorn vorn(nullptr);
  vst2::AEffect* effect = vorn.Effect();
  effect->dispatcher(effect, vst2::effOpen, 0, 0, nullptr, 0.0f);
  IGraphics* graphics = vorn.GetGraphics();
  if (!graphics) return Fail("the plug-in has no editor");
  // Until the product lays out its own editor, our test layout stands in.
  const bool productLayout = graphics->NControls() > 0;
  if (!productLayout) {
    test_layout::Build(*graphics);
    vorn.RefreshEditorControls();
  }
  if (options.view != 1 && !productLayout) return Fail("this editor has one view only");
  if (options.view == 2) vorn.SwitchView();

  if (!options.program.empty()) {
    const int index = FindProgram(vorn, options.program);
    if (index < 0) return Fail("no program \"" + options.program + "\"");
    effect->dispatcher(effect, vst2::effSetProgram, 0, index, nullptr, 0.0f);
  }
  for (const auto& [index, value] : options.values) {
    if (index >= effect->numParams) return Fail("no parameter " + std::to_string(index));
    effect->setParameter(effect, index, static_cast<float>(value));
  }

  IBox dirty;
  graphics->CollectDirtyArea(dirty);
  graphics->Draw({0, 0, graphics->Width(), graphics->Height()});
  PX_IBitmap* image = graphics->DrawBitmapSurface();
  if (!image || !PX_WritePngFile(*image, options.output.c_str())) return Fail("cannot write " + options.output);
  std::printf("%s: %d x %d, program %d \"%s\"\n", options.output.c_str(), image->Width(), image->Height(),
              vorn.CurrentPresetIndex(), vorn.GetPresetName(vorn.CurrentPresetIndex()));
  return 0;
}
