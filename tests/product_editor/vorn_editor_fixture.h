// A Vorn instance with its editor on the headless surface (the build's own
// surface may be a real window layer), driven like a user would.
#pragma once

#include "tests/synth/settings_home.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/icontrol.h"
#include "editor/platform/igraphics_headless.h"
#include "product/vorn.h"
#include "raster/px_bitmap.h"

class VornEditorTest : public ::testing::Test {
 protected:
  // Each test has a settings folder of its own, so that what one writes (a
  // start-up bank, the MIDI switches) never reaches a test running beside it.
  VornEditorTest() : vorn(MakeVorn(settings)), headless(new IGraphicsHeadless(vorn.get())) {
    vorn->AttachGraphics(headless);  // replaces (and deletes) the build's surface
    vorn->BuildEditor();
  }

  IGraphicsHeadless& Editor() { return *headless; }
  const VornEditorLayout& Layout() { return vorn->EditorLayout(); }

  // The control of the given view (1 or 2) bound to parameter index.
  IControl* ControlOf(int view, int param) {
    const auto& controls = view == 1 ? Layout().ViewOneControls() : Layout().ViewTwoControls();
    for (IControl* control : controls)
      if (control->ParamIndex() == param) return control;
    return nullptr;
  }

  // Draws whatever is dirty, as the window's timer would.
  void Redraw() {
    Editor().MarkAllDirty();
    Editor().Tick();
  }

  // The composed editor image inside (left, top, right, bottom), row by row.
  std::vector<uint32_t> Pixels(int left, int top, int right, int bottom) {
    PX_IBitmap* image = Editor().DrawBitmapSurface();
    std::vector<uint32_t> out;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) out.push_back(image->Pixels()[y * image->RowSpan() + x]);
    return out;
  }

  static std::unique_ptr<Vorn> MakeVorn(const SettingsHome&) { return std::make_unique<Vorn>(nullptr); }

  SettingsHome settings;
  std::unique_ptr<Vorn> vorn;
  IGraphicsHeadless* headless;  // owned by vorn once attached
};
