// The base controls: switches, frames, knobs, faders, defaults, graying,
// pushing values to the plug-in and the linked displays.
#include <gtest/gtest.h>

#include "editor/ifader_control.h"
#include "editor/iknob_control.h"
#include "editor/iswitch_popup_control.h"
#include "editor/itext_control.h"
#include "tests/editor/editor_fixture.h"

namespace {

class PlainKnob : public IKnobControl {
 public:
  using IKnobControl::IKnobControl;
  bool Draw(IGraphics*) override { return true; }
};

IBitmapStrip StripOf(PX_IBitmap& bitmap, int frames) {
  return {&bitmap, bitmap.Width(), bitmap.Height(), frames, false};
}

TEST(EditorControls, SwitchesStepThroughTheirFramesAndWrap) {
  PX_MemBitmap two(10, 20), three(10, 30), one(10, 10);
  struct Case {
    PX_MemBitmap* bitmap;
    int frames;
    std::vector<double> values;
  };
  const Case cases[] = {{&two, 2, {1.0, 0.0, 1.0}}, {&three, 3, {0.5, 1.0, 0.0, 0.5}}, {&one, 1, {1.0, 0.0}}};
  for (const Case& c : cases) {
    EditorFixture f;
    auto* sw = new ISwitchControl(&f.plugin, 0, 0, 4, StripOf(*c.bitmap, c.frames));
    f.graphics->AttachControl(sw);
    EXPECT_EQ(sw->GetBox(), (IBox{0, 0, 10, 10}));
    std::vector<double> seen;
    for (size_t i = 0; i + 1 < c.values.size(); ++i) {
      f.graphics->Click(5, 5, IGraphicsHeadless::RightButton());  // either button steps
      seen.push_back(sw->Value());
    }
    f.graphics->OnMouseDblClick(5, 5, {});
    seen.push_back(sw->Value());
    EXPECT_EQ(seen, c.values) << c.frames << " frames";
    EXPECT_EQ(f.plugin.automated, c.values) << c.frames << " frames";
    EXPECT_TRUE(f.graphics->TextEntries().empty());
  }
}

TEST(EditorControls, BitmapFramesFollowTheValue) {
  PX_MemBitmap strip(4, 63 * 4);
  IBitmapControl control(nullptr, 0, 0, -1, StripOf(strip, 63));
  const std::pair<double, int> cases[] = {{0.0, 1}, {0.5, 32}, {1.0, 63}, {0.008, 1}, {0.009, 2}, {-1.0, 1}, {2.0, 63}};
  for (const auto& [value, frame] : cases) {
    control.SetValue(value);
    EXPECT_EQ(control.FrameForValue(), frame) << value;
  }
}

TEST(EditorControls, KnobsGearDragsAndWheelStepsAndClampBeforeThePlugin) {
  struct Case {
    const char* what;
    int direction;
    IMouseMods mods;
    int dx, dy, wheel;
    double start, expected;
  };
  IMouseMods shift;
  shift.shift = true;
  IMouseMods control;
  control.control = true;
  const Case cases[] = {
      {"up over the box height", kVertical, {}, 0, -40, 0, 0.5, 0.75},
      {"down with shift", kVertical, shift, 0, 40, 0, 0.5, 0.475},
      {"across is ignored vertically", kVertical, {}, 80, 0, 0, 0.5, 0.5},
      {"horizontal over the box width", kHorizontal, {}, 80, 0, 0, 0.5, 0.75},
      {"past the top clamps to 1", kVertical, {}, 0, -40, 0, 0.9, 1.0},
      {"past the bottom clamps to 0", kVertical, {}, 0, 80, 0, 0.3, 0.0},
      {"three wheel steps", kVertical, {}, 0, 0, 3, 0.5, 0.53},
      {"a fine wheel step down", kVertical, control, 0, 0, -1, 0.5, 0.499},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    auto* knob = new PlainKnob(&f.plugin, {0, 0, 80, 40}, 4, c.direction);
    f.graphics->AttachControl(knob);
    knob->SetValue(c.start);
    if (c.wheel) {
      f.graphics->OnMouseWheel(10, 10, c.mods, c.wheel);
    } else {
      f.graphics->OnMouseDown(40, 20, c.mods);
      f.graphics->OnMouseDrag(40 + c.dx, 20 + c.dy, c.mods);
      f.graphics->OnMouseUp(40 + c.dx, 20 + c.dy, c.mods);
    }
    EXPECT_NEAR(knob->Value(), c.expected, 1e-12) << c.what;
    ASSERT_FALSE(f.plugin.automated.empty()) << c.what;
    EXPECT_NEAR(f.plugin.automated.back(), c.expected, 1e-12) << c.what;
  }
}

TEST(EditorControls, TheFirstPluginValueIsTheDefaultADoubleClickRestores) {
  EditorFixture f;
  auto* knob = new PlainKnob(&f.plugin, {0, 0, 40, 40}, 4);
  f.graphics->AttachControl(knob);
  f.graphics->OnMouseDblClick(10, 10, {});  // no default yet: nothing
  EXPECT_TRUE(f.plugin.automated.empty());
  knob->ApplyPluginValue(0.3);
  EXPECT_EQ(knob->DefaultValue(), 0.3);
  knob->ApplyPluginValue(0.8);
  EXPECT_EQ(knob->Value(), 0.8);
  EXPECT_EQ(knob->DefaultValue(), 0.3);
  EXPECT_TRUE(f.plugin.automated.empty());  // values from the plug-in are not sent back
  f.graphics->OnMouseDblClick(10, 10, {});
  EXPECT_EQ(knob->Value(), 0.3);
  EXPECT_EQ(f.plugin.automated, std::vector<double>{0.3});
}

TEST(EditorControls, GrayedControlsDrawAtAQuarterAndLetClicksThrough) {
  EditorFixture f;
  RecordingControl* below = f.Add("below", {0, 0, 40, 40});
  auto* knob = new PlainKnob(&f.plugin, {0, 0, 40, 40}, 4);
  f.graphics->AttachControl(knob);
  knob->SetGrayed(true);
  EXPECT_FLOAT_EQ(knob->Blend().weight, 0.25f);
  f.graphics->Click(10, 10);
  EXPECT_EQ(f.log, (std::vector<std::string>{"down below", "up below"}));
  knob->SetGrayed(false);
  EXPECT_FLOAT_EQ(knob->Blend().weight, 1.0f);
  f.log.clear();
  f.graphics->Click(10, 10);
  EXPECT_TRUE(f.log.empty());
  (void)below;
}

TEST(EditorControls, FaderHandlesFollowTheMouseOnTheirTravel) {
  PX_MemBitmap handle(24, 20);
  struct Case {
    const char* what;
    int direction;
    int x, y;
    double expected;
  };
  // Box (100, 72) with length 120 and a 20-pixel handle: 100 pixels of travel.
  const Case cases[] = {
      {"top + 10 is the top", kVertical, 110, 82, 1.0},
      {"top + 110 is the bottom", kVertical, 110, 182, 0.0},
      {"the middle", kVertical, 110, 132, 0.5},
      {"above the track clamps", kVertical, 110, 72, 1.0},
      {"horizontal, an eighth", kHorizontal, 124, 80, 0.125},
      {"horizontal end", kHorizontal, 210, 80, 1.0},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    PX_MemBitmap& strip = handle;
    auto* fader = new IFaderControl(&f.plugin, 100, 72, 120, 4, {&strip, 24, 20, 1, false}, c.direction, false);
    f.graphics->AttachControl(fader);
    f.graphics->Click(c.x, c.y);
    EXPECT_NEAR(fader->Value(), c.expected, 1e-12) << c.what;
  }
  EditorFixture f;
  auto* fader = new IFaderControl(&f.plugin, 100, 72, 120, 4, {&handle, 24, 20, 1, false});
  f.graphics->AttachControl(fader);
  EXPECT_EQ(fader->GetBox(), (IBox{100, 72, 124, 192}));
  fader->SetValue(1.0);
  EXPECT_EQ(fader->HandleBox(), (IBox{100, 72, 124, 92}));
  f.graphics->Click(110, 150);  // only the handle is hit
  EXPECT_EQ(fader->Value(), 1.0);
  f.graphics->DragFromTo(110, 80, 110, 132);
  EXPECT_EQ(fader->Value(), 0.5);
  EXPECT_EQ(fader->HandleBox(), (IBox{100, 122, 124, 142}));
}

TEST(EditorControls, ChangedControlsDrawTwiceAndPushedValuesUpdateTheirDisplays) {
  EditorFixture f;
  auto* knob = new PlainKnob(&f.plugin, {0, 0, 40, 40}, 0);
  auto* valueText = new ITextControl(&f.plugin, {0, 40, 80, 60}, ITextStyle());
  auto* nameText = new ITextControl(&f.plugin, {0, 60, 80, 80}, ITextStyle());
  knob->SetValueDisplay(valueText);
  knob->SetNameDisplay(nameText);
  f.graphics->AttachControl(knob);
  f.graphics->AttachControl(valueText);
  f.graphics->AttachControl(nameText);
  knob->ApplyPluginValue(0.5);
  f.Settle();

  knob->ApplyPluginValue(0.75);  // from the plug-in: displays untouched
  EXPECT_EQ(valueText->Text(), "");
  EXPECT_TRUE(f.graphics->Tick());
  EXPECT_TRUE(f.graphics->Tick());
  EXPECT_FALSE(f.graphics->Tick());

  f.graphics->OnMouseWheel(10, 10, {}, 1);
  EXPECT_DOUBLE_EQ(f.plugin.GetParam(0)->Value(), 52.0);  // 0.76 of -100..100
  EXPECT_EQ(valueText->Text(), "52.00 %");
  EXPECT_EQ(nameText->Text(), "P0");
  EXPECT_TRUE(valueText->IsDirty());
  valueText->SetClean();
  valueText->ShowText("52.00 %");  // the same text: nothing to redraw
  EXPECT_FALSE(valueText->IsDirty());
}

}  // namespace
