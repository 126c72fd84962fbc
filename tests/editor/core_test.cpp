// The graphics core: hit finding, capture and the host-edit bracket, event
// routing, the idle count, strict and non-strict redraw areas, frames and
// blending, the bitmap cache, resizing and the menu model.
#include <gtest/gtest.h>

#include <map>

#include "editor/ibitmap_control.h"
#include "editor/iknob_control.h"
#include "editor/ikey_codes.h"
#include "raster/png_encode.h"
#include "raster/px_png_resources.h"
#include "tests/editor/editor_fixture.h"

namespace {

using Log = std::vector<std::string>;

TEST(EditorCore, TheTopmostVisibleEnabledControlUnderThePointTakesTheClick) {
  struct Case {
    const char* what;
    bool hideB;
    bool grayB;
    int x, y;
    Log expected;
  };
  const Case cases[] = {
      {"overlap: the later control", false, false, 75, 75, {"down B", "up B"}},
      {"hidden later control: the one below", true, false, 75, 75, {"down A", "up A"}},
      {"grayed later control: the one below", false, true, 75, 75, {"down A", "up A"}},
      {"only the first control", false, false, 10, 10, {"down A", "up A"}},
      {"right and bottom edges are outside", false, false, 150, 75, {}},
      {"nothing there", false, false, 300, 300, {}},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    f.Add("A", {0, 0, 100, 100});
    RecordingControl* b = f.Add("B", {50, 50, 150, 150});
    b->Hide(c.hideB);
    b->SetGrayed(c.grayB);
    f.graphics->Click(c.x, c.y);
    EXPECT_EQ(f.log, c.expected) << c.what;
  }
}

class DraggedKnob : public IKnobControl {
 public:
  using IKnobControl::IKnobControl;
  bool Draw(IGraphics*) override { return true; }
};

TEST(EditorCore, ADragOfABoundControlIsBracketedByBeginAndEndEdits) {
  EditorFixture f;
  f.graphics->AttachControl(new DraggedKnob(&f.plugin, {0, 0, 40, 40}, 5));
  f.graphics->DragFromTo(20, 30, 20, 10, 2);
  const std::vector<std::pair<std::string, int>> expected = {
      {"begin", 5}, {"automate", 5}, {"automate", 5}, {"end", 5}};
  EXPECT_EQ(f.plugin.hostCalls, expected);
  EXPECT_EQ(f.graphics->CapturedControl(), -1);

  // A double-click taken as a click is bracketed the same way.
  f.plugin.hostCalls.clear();
  f.graphics->GetControl(0)->SetTreatDoubleClickAsClick(true);
  EXPECT_TRUE(f.graphics->OnMouseDblClick(20, 20, {}));
  f.graphics->OnMouseUp(20, 20, {});
  const std::vector<std::pair<std::string, int>> clicked = {{"begin", 5}, {"end", 5}};
  EXPECT_EQ(f.plugin.hostCalls, clicked);
}

TEST(EditorCore, CaptureRoutesDragsWheelAndReleaseToThePressedControl) {
  EditorFixture f;
  f.Add("A", {0, 0, 50, 50}, 3);
  f.Add("B", {50, 0, 100, 50});
  IGraphicsHeadless& g = *f.graphics;
  const IMouseMods left = IGraphicsHeadless::LeftButton();
  g.OnMouseDrag(10, 10, left);  // no capture: dropped
  g.OnMouseDown(10, 10, left);
  EXPECT_EQ(g.CapturedControl(), 0);
  g.OnMouseDrag(10, 10, left);  // same position: dropped
  g.OnMouseDrag(70, 5, left);
  g.OnMouseWheel(70, 5, left, 2);
  g.OnMouseUp(70, 5, left);
  g.OnMouseUp(70, 5, left);  // no capture: the control under the point
  const Log expected = {"down A", "drag A 60,-5", "wheel A 2", "up A", "up B"};
  EXPECT_EQ(f.log, expected);
  const std::vector<std::pair<std::string, int>> calls = {{"begin", 3}, {"end", 3}};
  EXPECT_EQ(f.plugin.hostCalls, calls);
}

TEST(EditorCore, DoubleClicksKeysAndHovering) {
  EditorFixture f;
  f.Add("bg", {0, 0, 200, 200});
  RecordingControl* a = f.Add("A", {0, 0, 50, 50});
  RecordingControl* b = f.Add("B", {50, 0, 100, 50});
  IGraphicsHeadless& g = *f.graphics;
  const IMouseMods none;

  EXPECT_FALSE(g.OnMouseDblClick(10, 10, none));
  b->SetTreatDoubleClickAsClick(true);
  EXPECT_TRUE(g.OnMouseDblClick(60, 10, none));
  EXPECT_EQ(g.CapturedControl(), 2);
  g.OnMouseUp(60, 10, none);

  EXPECT_TRUE(g.OnKeyDown(60, 10, kKeyLeft));
  EXPECT_FALSE(g.OnKeyDown(150, 150, kKeySpace));  // the background does not take keys
  EXPECT_FALSE(g.OnKeyDown(300, 300, kKeySpace));

  EXPECT_FALSE(g.OnMouseOver(10, 10, none));  // hovering is off by default
  g.SetMouseOverHandling(true);
  EXPECT_TRUE(g.OnMouseOver(10, 10, none));
  EXPECT_TRUE(g.OnMouseOver(60, 10, none));
  a->SetGrayed(true);
  EXPECT_TRUE(g.OnMouseOver(10, 10, none));  // grayed: the background is under the point
  a->SetMouseOverWhenGrayed(true);
  EXPECT_TRUE(g.OnMouseOver(12, 10, none));
  EXPECT_EQ(g.HoveredControl(), 1);
  g.OnMouseOut();
  EXPECT_EQ(g.HoveredControl(), -1);
  const Log expected = {"dbl A",   "down B", "up B",   "key B 3", "over A", "over B", "out A",
                        "over bg", "out B",  "over A", "out bg",  "out bg", "out A",  "out B"};
  EXPECT_EQ(f.log, expected);
}

TEST(EditorCore, TwentyOneCleanTicksCallTheIdleHookOnceAndStartAgain) {
  EditorFixture f;
  RecordingControl* a = f.Add("A", {0, 0, 10, 10});
  f.Settle();
  a->SetDirty(false);
  f.graphics->Tick();  // a dirty tick starts the count
  const int before = f.plugin.idleCalls;
  for (int i = 0; i < 20; ++i) f.graphics->Tick();
  EXPECT_EQ(f.plugin.idleCalls, before);
  EXPECT_EQ(f.graphics->CleanTicks(), 20);
  f.graphics->Tick();
  EXPECT_EQ(f.plugin.idleCalls, before + 1);
  EXPECT_EQ(f.graphics->CleanTicks(), 0);
  for (int i = 0; i < 21; ++i) f.graphics->Tick();
  EXPECT_EQ(f.plugin.idleCalls, before + 2);
}

TEST(EditorCore, StrictDrawingRedrawsTheUnitedBoxNonStrictEachDirtyControlsBox) {
  struct Case {
    const char* what;
    bool strict;
    std::vector<std::string> dirty;
    Log expected;
    IBox presented;
  };
  const Case cases[] = {
      {"strict, one control: it, the background and what touches its box",
       true,
       {"A"},
       {"draw bg", "draw A", "draw B", "draw D"},
       {10, 10, 30, 30}},
      {"strict, two apart: everything in the united box",
       true,
       {"A", "C"},
       {"draw bg", "draw A", "draw B", "draw C", "draw D"},
       {10, 10, 120, 120}},
      {"non-strict, two apart: each box on its own",
       false,
       {"A", "C"},
       {"draw bg", "draw A", "draw B", "draw D", "draw bg", "draw C"},
       {10, 10, 120, 120}},
      {"non-strict, background dirty: all at once",
       false,
       {"bg", "C"},
       {"draw bg", "draw A", "draw B", "draw C", "draw D"},
       {0, 0, 200, 200}},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    std::map<std::string, RecordingControl*> controls = {
        {"bg", f.Add("bg", {0, 0, 200, 200})}, {"A", f.Add("A", {10, 10, 30, 30})},
        {"B", f.Add("B", {20, 20, 60, 60})},   {"C", f.Add("C", {100, 100, 120, 120})},
        {"D", f.Add("D", {30, 10, 40, 20})},   {"hidden", f.Add("hidden", {0, 0, 200, 200})}};
    controls["hidden"]->Hide(true);
    f.Settle();
    f.graphics->SetStrictDrawing(c.strict);
    for (const std::string& name : c.dirty) controls[name]->SetDirty(false);
    EXPECT_TRUE(f.graphics->Tick()) << c.what;
    EXPECT_EQ(f.log, c.expected) << c.what;
    EXPECT_EQ(f.graphics->LastPresentedBox(), c.presented) << c.what;
    if (!c.strict) {
      const IBox expectedBox = c.dirty[0] == "bg" ? IBox{0, 0, 200, 200} : IBox{10, 10, 30, 30};
      ASSERT_FALSE(controls["A"]->drawBoxes.empty()) << c.what;
      EXPECT_EQ(controls["A"]->drawBoxes.back(), expectedBox) << c.what;
    }
  }
}

// Draws one frame of a strip at the top-left pixel.
class FrameProbe : public IControl {
 public:
  FrameProbe(PluginBase* plugin, const IBitmapStrip& strip) : IControl(plugin, {0, 0, 1, 1}), mStrip(strip) {}
  bool Draw(IGraphics* graphics) override { return graphics->DrawBitmapFrame(mStrip, GetBox(), frame, &Blend()); }
  int frame = 1;

 private:
  IBitmapStrip mStrip;
};

TEST(EditorCore, FrameOffsetsRoundToTheNearestRowOrColumn) {
  const std::unique_ptr<PX_MemBitmap> rows = RowNumberedBitmap(1, 100);
  struct Case {
    int frame;
    uint32_t row;
  };
  // 100 rows in 63 frames: frame f starts at (int)(100 * (f - 1) / 63 + 0.5).
  const Case cases[] = {{1, 0}, {2, 2}, {32, 49}, {62, 97}, {63, 98}, {0, 0}, {-5, 0}};
  for (bool sideBySide : {false, true}) {
    EditorFixture f;
    std::unique_ptr<PX_MemBitmap> columns;
    IBitmapStrip strip{rows.get(), 1, 100, 63, false};
    if (sideBySide) {
      // The same numbering across: pixel x holds 0xFF000000 | x.
      columns = std::make_unique<PX_MemBitmap>(100, 1);
      for (int x = 0; x < 100; ++x) columns->Pixels()[x] = 0xFF000000u | static_cast<uint32_t>(x);
      strip = {columns.get(), 100, 1, 63, true};
    }
    auto* probe = new FrameProbe(&f.plugin, strip);
    f.graphics->AttachControl(probe);
    for (const Case& c : cases) {
      probe->frame = c.frame;
      f.graphics->Draw({0, 0, 1, 1});
      EXPECT_EQ(PixelAt(f.graphics->DrawBitmapSurface(), 0, 0), 0xFF000000u | c.row)
          << "frame " << c.frame << (sideBySide ? " side by side" : " stacked");
    }
  }
}

TEST(EditorCore, BlendMethodsAndTheGrayedWeight) {
  PX_MemBitmap source(1, 1);
  EditorFixture f;
  IBitmapControl* under = nullptr;
  PX_MemBitmap blue(1, 1);
  blue.Pixels()[0] = 0xFF0000FF;
  under = new IBitmapControl(&f.plugin, 0, 0, -1, {&blue, 1, 1, 1, false});
  f.graphics->AttachControl(under);
  struct Case {
    uint32_t pixel;
    int method;
    bool grayed;
    uint32_t expected;  // 0: neither the source nor the destination
  };
  const Case cases[] = {
      {0x80FF0000, kBlendCopy, false, 0x80FF0000},   // opaque copy keeps the source's alpha
      {0x00FF0000, kBlendAlpha, false, 0xFF0000FF},  // transparent source leaves the background
      {0xFFFF0000, kBlendAlpha, false, 0xFFFF0000},  // opaque source replaces it
      {0xFFFF0000, kBlendAlpha, true, 0},            // grayed: a quarter of the way
      {0xFFFF0000, 99, false, 0xFFFF0000},           // unknown methods blend with alpha
  };
  for (const Case& c : cases) {
    source.Pixels()[0] = c.pixel;
    auto* over = new IBitmapControl(&f.plugin, 0, 0, -1, {&source, 1, 1, 1, false}, {c.method, 1.0f});
    over->SetGrayed(c.grayed);
    f.graphics->AttachControl(over);
    f.graphics->Draw({0, 0, 1, 1});
    const uint32_t drawn = PixelAt(f.graphics->DrawBitmapSurface(), 0, 0);
    if (c.expected) {
      EXPECT_EQ(drawn, c.expected) << std::hex << c.pixel << " method " << c.method;
    } else {
      EXPECT_NE(drawn, c.pixel);
      EXPECT_NE(drawn, 0xFF0000FFu);
    }
    over->Hide(true);
  }
}

TEST(EditorCore, TheBitmapCacheDecodesOnceAndFallsBackToATransparentStrip) {
  const std::unique_ptr<PX_MemBitmap> rows = RowNumberedBitmap(3, 126);
  static const std::vector<uint8_t> encoded = PX_EncodePng(*rows);
  static const uint8_t corrupt[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H'};
  PX_RegisterPngResource(7101, encoded.data(), encoded.size());
  PX_RegisterPngResource(7102, corrupt, sizeof corrupt);
  EditorFixture f;
  IGraphics& g = *f.graphics;

  const IBitmapStrip strip = g.LoadBitmapById(7101, "strip.PNG", 63);
  EXPECT_EQ(strip.width, 3);
  EXPECT_EQ(strip.height, 126);
  EXPECT_EQ(strip.FrameHeight(), 2);
  EXPECT_EQ(g.LoadBitmapById(7101, "strip.png", 63).bitmap, strip.bitmap);

  struct Case {
    int id;
    const char* name;
    int frames;
    bool sideBySide;
  };
  const Case failures[] = {{7102, "corrupt.png", 63, false},
                           {7103, "missing.png", 63, true},
                           {7104, "not-a-png.bmp", 2, false},
                           {7105, "zero-frames.png", 0, false}};
  for (const Case& c : failures) {
    const IBitmapStrip fallback = g.LoadBitmapById(c.id, c.name, c.frames, c.sideBySide);
    ASSERT_NE(fallback.bitmap, nullptr) << c.name;
    EXPECT_GE(fallback.frames, 1) << c.name;
    EXPECT_EQ(fallback.FrameWidth(), 1) << c.name;
    EXPECT_EQ(fallback.FrameHeight(), 1) << c.name;
    EXPECT_EQ(PixelAt(fallback.bitmap, 0, 0) >> 24, 0u) << c.name;
    auto* control = new IBitmapControl(&f.plugin, 5, 5, -1, fallback);
    control->SetValue(1.0);
    g.AttachControl(control);
    EXPECT_EQ(control->GetBox(), (IBox{5, 5, 6, 6})) << c.name;
  }
  EXPECT_TRUE(g.Draw({0, 0, g.Width(), g.Height()}));
}

TEST(EditorCore, ResizeDestroysTheControlsAndTellsThePlugin) {
  EditorFixture f;
  f.Add("A", {0, 0, 10, 10});
  f.graphics->OnMouseDown(5, 5, {});
  f.graphics->Resize(400, 200);
  EXPECT_EQ(f.graphics->NControls(), 0);
  EXPECT_EQ(f.graphics->CapturedControl(), -1);
  EXPECT_EQ(f.graphics->DrawBitmapSurface()->Width(), 400);
  EXPECT_EQ(f.graphics->DrawBitmapSurface()->Height(), 200);
  EXPECT_EQ(f.plugin.resizes, (std::vector<std::pair<int, int>>{{400, 200}}));
}

TEST(EditorCore, OpeningTheWindowRedrawsEverything) {
  EditorFixture f;
  f.Add("A", {0, 0, 10, 10});
  f.Add("B", {100, 100, 110, 110});
  f.Settle();
  EXPECT_FALSE(f.graphics->Tick());
  EXPECT_TRUE(f.graphics->Open(nullptr));
  EXPECT_TRUE(f.graphics->IsWindowOpen());
  EXPECT_TRUE(f.graphics->Tick());
  EXPECT_EQ(f.graphics->LastPresentedBox(), (IBox{0, 0, 110, 110}));
  f.graphics->Close();
  EXPECT_FALSE(f.graphics->IsWindowOpen());
}

TEST(EditorMenu, NumberingPrefixesAndDepthFirstIdentifierBlocks) {
  IMenu top(IMenu::kPrefixTwoDigits);
  top.AddItem("Copy");
  top.AddSeparator();
  auto sub = std::make_unique<IMenu>(IMenu::kPrefixOneDigit);
  sub->AddItem("Thru", kMenuItemChecked);
  auto deeper = std::make_unique<IMenu>(IMenu::kPrefixThreeDigits);
  deeper->AddItem("Deep");
  sub->AddSubmenu("More", std::move(deeper));
  top.AddSubmenu("Settings", std::move(sub));
  top.AddItem("Last");
  top.InsertItem(99, "Appended");
  top.InsertItem(0, "First");

  EXPECT_EQ(top.ItemLabel(0), "01: First");
  EXPECT_EQ(top.ItemLabel(1), "02: Copy");
  EXPECT_EQ(top.ItemLabel(2), "");  // a separator shows no text but takes a number
  EXPECT_EQ(top.ItemLabel(3), "04: Settings");
  EXPECT_EQ(top.ItemLabel(5), "06: Appended");
  IMenu& settings = *top.Item(3).submenu;
  EXPECT_EQ(settings.ItemLabel(0), "1: Thru");
  EXPECT_EQ(settings.Item(1).submenu->ItemLabel(0), "001: Deep");

  // Blocks: top 0..5, "Settings" 6..7, "More" 8.
  struct Case {
    int id;
    IMenu* menu;
    int item;
  };
  IMenu* more = settings.Item(1).submenu.get();
  const Case cases[] = {{0, &top, 0},      {5, &top, 5}, {6, &settings, 0},
                        {7, &settings, 1}, {8, more, 0}, {9, nullptr, -1}};
  for (const Case& c : cases) {
    IMenu* chosen = top.ChooseByIdentifier(c.id);
    EXPECT_EQ(chosen, c.menu) << c.id;
    if (chosen) {
      EXPECT_EQ(chosen->ChosenItem(), c.item) << c.id;
    }
  }
}

TEST(EditorKeys, VirtualKeysMapToTheEditorsCodes) {
  const std::pair<int, int> cases[] = {
      {0x20, kKeySpace},   {0x26, kKeyUp},      {0x28, kKeyDown},
      {0x25, kKeyLeft},    {0x27, kKeyRight},   {'0', 5},
      {'9', 14},           {'A', 15},           {'Z', 40},
      {'a', 15},           {'z', 40},           {0x0D, kKeyUnmapped},
      {'/', kKeyUnmapped}, {'[', kKeyUnmapped}, {0x70, 30} /* 97..122 count as letters, even F1 */,
      {0x7B, kKeyUnmapped}};
  for (const auto& [key, code] : cases) EXPECT_EQ(IKeyCodeFromVirtualKey(key), code) << key;
}

}  // namespace
