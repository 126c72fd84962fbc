// What the editor tests share: a plug-in that records the host calls and the
// editor's hooks, a control that records its drawing, and solid strips.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/icontrol.h"
#include "editor/platform/igraphics_headless.h"
#include "raster/px_blit.h"
#include "raster/px_mem_bitmap.h"
#include "tests/plugin/test_plugin.h"

class EditorTestPlugin : public TestPlugin {
 public:
  void OnIdle() override { ++idleCalls; }
  void ResizeEditor(int width, int height) override { resizes.push_back({width, height}); }

  int idleCalls = 0;
  std::vector<std::pair<int, int>> resizes;
};

// Logs "name" on every Draw with the draw box it saw, and every mouse event.
class RecordingControl : public IControl {
 public:
  RecordingControl(PluginBase* plugin, std::string name, const IBox& box, int param, std::vector<std::string>* log)
      : IControl(plugin, box, param), mName(std::move(name)), mLog(log) {}

  bool Draw(IGraphics* graphics) override {
    drawBoxes.push_back(graphics->DrawBox());
    mLog->push_back("draw " + mName);
    return true;
  }
  void OnMouseDown(int, int, const IMouseMods&) override { mLog->push_back("down " + mName); }
  void OnMouseUp(int, int, const IMouseMods&) override { mLog->push_back("up " + mName); }
  void OnMouseDrag(int, int, int dx, int dy, const IMouseMods&) override {
    mLog->push_back("drag " + mName + " " + std::to_string(dx) + "," + std::to_string(dy));
  }
  void OnMouseDblClick(int, int, const IMouseMods&) override { mLog->push_back("dbl " + mName); }
  void OnMouseWheel(int, int, const IMouseMods&, int steps) override {
    mLog->push_back("wheel " + mName + " " + std::to_string(steps));
  }
  bool OnKeyDown(int, int, int key) override {
    mLog->push_back("key " + mName + " " + std::to_string(key));
    return true;
  }
  void OnMouseOver(int, int, const IMouseMods&) override { mLog->push_back("over " + mName); }
  void OnMouseOut() override { mLog->push_back("out " + mName); }

  std::vector<IBox> drawBoxes;

 private:
  std::string mName;
  std::vector<std::string>* mLog;
};

// An editor on the headless surface with its drawing surface, attached to
// a recording plug-in.
struct EditorFixture {
  EditorTestPlugin plugin;
  IGraphicsHeadless* graphics = new IGraphicsHeadless(&plugin);
  std::vector<std::string> log;

  EditorFixture() { plugin.AttachGraphics(graphics); }

  RecordingControl* Add(const std::string& name, const IBox& box, int param = -1) {
    auto* control = new RecordingControl(&plugin, name, box, param, &log);
    graphics->AttachControl(control);
    return control;
  }
  // Marks every control clean (two ticks: a redraw request lasts one more).
  void Settle() {
    graphics->Tick();
    graphics->Tick();
    log.clear();
    plugin.hostCalls.clear();
    plugin.automated.clear();
  }
};

// A strip whose rows are coloured by their y (0xFF000000 | y), so that the
// drawn pixel tells which source row a frame came from.
inline std::unique_ptr<PX_MemBitmap> RowNumberedBitmap(int width, int height) {
  auto bitmap = std::make_unique<PX_MemBitmap>(width, height);
  for (int y = 0; y < height; ++y) {
    PX_FillRegion(bitmap.get(), 0, y, width, 1, 0xFF000000u | static_cast<uint32_t>(y), 1.0f, kBlitCopy);
  }
  return bitmap;
}

inline uint32_t PixelAt(PX_IBitmap* bitmap, int x, int y) {
  return bitmap->Pixels()[static_cast<size_t>(y) * static_cast<size_t>(bitmap->RowSpan()) + static_cast<size_t>(x)];
}
