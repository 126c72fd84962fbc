// Values between the plug-in and the controls: the value prompt (a menu for
// enumerations, a text entry otherwise), what a confirmed entry does, and
// values from the host reaching bound and auxiliary controls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "editor/iknob_control.h"
#include "editor/iswitch_popup_control.h"
#include "tests/editor/editor_fixture.h"
#include "tests/host/comma_locale.h"

namespace {

class PromptingKnob : public IKnobControl {
 public:
  PromptingKnob(PluginBase* plugin, const IBox& box, int param) : IKnobControl(plugin, box, param) {
    SetPromptDisabled(false);
  }
  bool Draw(IGraphics*) override { return true; }
  void TakeEntryText(const char* text) override { taken = text; }
  std::string taken;
};

void ShowMillis(double value, char* text) { std::snprintf(text, 64, "%d ms", static_cast<int>(value * 1000)); }

TEST(EditorPrompt, AnEnumerationPromptsWithAMenuOfItsTexts) {
  EditorFixture f;
  auto* knob = new PromptingKnob(&f.plugin, {0, 0, 40, 40}, 2);  // "Mode": Off, Multiple, Single
  f.graphics->AttachControl(knob);
  f.plugin.GetParam(2)->SetValue(1);
  f.graphics->QueueMenuChoice({"Single"});
  f.graphics->Click(10, 10, IGraphicsHeadless::RightButton());
  ASSERT_EQ(f.graphics->MenusShown().size(), 1u);
  EXPECT_EQ(f.graphics->MenusShown()[0], "Off\nMultiple [x]\nSingle\n");
  EXPECT_TRUE(f.graphics->TextEntries().empty());
  EXPECT_EQ(f.plugin.GetParam(2)->Value(), 2.0);
  EXPECT_EQ(f.plugin.automated, std::vector<double>{1.0});

  f.graphics->QueueMenuChoice({});  // dismissed: nothing changes
  f.graphics->Click(10, 10, IGraphicsHeadless::RightButton());
  EXPECT_EQ(f.plugin.GetParam(2)->Value(), 2.0);
  EXPECT_EQ(f.graphics->MenusShown()[1], "Off\nMultiple\nSingle [x]\n");
}

TEST(EditorPrompt, APopUpSwitchAsksOnEveryClick) {
  EditorFixture f;
  PX_MemBitmap strip(10, 30);
  auto* sw = new ISwitchPopUpControl(&f.plugin, 0, 0, 2, {&strip, 10, 30, 3, false});
  f.graphics->AttachControl(sw);
  f.graphics->Click(5, 5);  // prompting is off until enabled
  EXPECT_TRUE(f.graphics->MenusShown().empty());
  sw->SetPromptDisabled(false);
  f.graphics->QueueMenuChoice({"Multiple"});
  f.graphics->Click(5, 5);
  EXPECT_EQ(sw->Value(), 0.5);
  EXPECT_EQ(f.plugin.GetParam(2)->Value(), 1.0);
  EXPECT_EQ(f.graphics->MenusShown().size(), 1u);
}

TEST(EditorPrompt, OtherParametersPromptWithTheirFormattedValueInACentredBox) {
  struct Case {
    const char* what;
    int param;
    double value;
    void (*setUp)(IParam&);
    const char* shown;
    std::string typed;
    double expected;
  };
  const Case cases[] = {
      {"continuous, two decimals", 0, 12.5, nullptr, "12.50", "-50", -50.0},
      {"continuous, letters are filtered out", 0, 1.0, nullptr, "1.00", "4a2.5x", 42.5},
      {"integer", 1, 7.0, nullptr, "7", "12", 12.0},
      {"integer without the point", 1, 7.0, nullptr, "7", "1.5", 15.0},
      {"negated display", 0, 5.0, [](IParam& p) { p.SetNegateDisplay(true); }, "-5.00", "3", -3.0},
      {"display function", 3, 0.25, [](IParam& p) { p.SetDisplayFunction(&ShowMillis); }, "250 ms", "2", 2.0},
      {"not a number reads 0", 0, 10.0, nullptr, "10.00", "-", 0.0},
      {"the entry holds seven characters", 0, 0.0, nullptr, "0.00", "12345678", 100.0},
  };
  // A host may have switched the process to a decimal-comma locale: the
  // prompt shows and reads '.' all the same.
  for (bool commaLocale : {false, true}) {
    std::unique_ptr<ScopedCommaLocale> locale;
    if (commaLocale) {
      locale = std::make_unique<ScopedCommaLocale>();
      ASSERT_TRUE(locale->Active());
    }
    for (const Case& c : cases) {
      EditorFixture f;
      auto* knob = new PromptingKnob(&f.plugin, {10, 20, 58, 84}, c.param);
      f.graphics->AttachControl(knob);
      IParam& param = *f.plugin.GetParam(c.param);
      if (c.setUp) c.setUp(param);
      param.SetValue(c.value);
      f.graphics->QueueTextEntry(c.typed);
      f.graphics->Click(30, 30, IGraphicsHeadless::RightButton());
      ASSERT_EQ(f.graphics->TextEntries().size(), 1u) << c.what;
      const IGraphicsHeadless::TextEntryRecord& entry = f.graphics->TextEntries()[0];
      EXPECT_EQ(entry.text, c.shown) << c.what;
      EXPECT_EQ(entry.box, (IBox{14, 44, 54, 60})) << c.what;
      EXPECT_EQ(entry.param, &param) << c.what;
      EXPECT_TRUE(f.graphics->IsTextEntryOpen());
      EXPECT_FALSE(f.graphics->Tick()) << c.what;  // the tick that applies draws nothing
      EXPECT_FALSE(f.graphics->IsTextEntryOpen());
      EXPECT_DOUBLE_EQ(param.Value(), c.expected) << c.what;
    }
  }
}

TEST(EditorPrompt, EntriesCancelledOrWithoutAParameter) {
  EditorFixture f;
  auto* knob = new PromptingKnob(&f.plugin, {0, 0, 40, 40}, 0);
  f.graphics->AttachControl(knob);
  f.plugin.GetParam(0)->SetValue(20.0);
  f.graphics->Click(10, 10, IGraphicsHeadless::RightButton());  // nothing queued: cancelled
  f.graphics->Tick();
  EXPECT_EQ(f.plugin.GetParam(0)->Value(), 20.0);
  f.graphics->QueueTextEntry(std::nullopt);
  f.graphics->Click(10, 10, IGraphicsHeadless::RightButton());
  f.graphics->Tick();
  EXPECT_EQ(f.plugin.GetParam(0)->Value(), 20.0);
  EXPECT_TRUE(f.plugin.automated.empty());

  knob->SetPromptDisabled(true);
  f.graphics->Click(10, 10, IGraphicsHeadless::RightButton());
  EXPECT_EQ(f.graphics->TextEntries().size(), 2u);

  f.graphics->QueueTextEntry("any text, no filter at all and longer than thirty-one");
  knob->SetTextEntryLength(253);
  f.graphics->BeginTextEntry(knob, knob->TextStyle(), knob->GetBox(), "old", nullptr);
  f.graphics->Tick();
  EXPECT_EQ(knob->taken, "any text, no filter at all and ");
}

TEST(EditorPrompt, EnumerationTextsMatchExactly) {
  EditorFixture f;
  auto* knob = new PromptingKnob(&f.plugin, {0, 0, 40, 40}, 2);
  f.graphics->AttachControl(knob);
  const std::pair<const char*, double> cases[] = {{"Single", 2.0}, {"single", 0.0}, {"Multiple", 1.0}, {"", 0.0}};
  for (const auto& [text, expected] : cases) {
    f.plugin.GetParam(2)->SetValue(1.0);
    IGraphics::CommitEntryText(knob, f.plugin.GetParam(2), text);
    EXPECT_EQ(f.plugin.GetParam(2)->Value(), expected) << text;
  }
}

TEST(EditorAutomation, HostValuesReachBoundAndAuxiliaryControlsAndStayInRange) {
  EditorFixture f;
  auto* bound = new PromptingKnob(&f.plugin, {0, 0, 10, 10}, 0);
  auto* other = new PromptingKnob(&f.plugin, {0, 0, 10, 10}, 1);
  other->AddAuxParam(3);
  other->AddAuxParam(0);
  other->AddAuxParam(0);  // only the first auxiliary binding of a parameter
  f.graphics->AttachControl(bound);
  f.graphics->AttachControl(other);
  f.plugin.AttachGraphics(f.graphics);  // the attach-time push: first values become defaults
  EXPECT_EQ(bound->DefaultValue(), 0.5);
  f.Settle();

  struct Case {
    double value;
    bool normalized;
    double expected;
  };
  const Case cases[] = {
      {0.25, true, 0.25},
      {50.0, false, 0.75},
      {-300.0, false, 0.0},
      {1.5, true, 1.0},
      {-0.5, true, 0.0},
      {std::numeric_limits<double>::quiet_NaN(), true, 0.0},
      {std::numeric_limits<double>::infinity(), true, 1.0},
  };
  for (const Case& c : cases) {
    f.graphics->ApplyParameterToControls(0, c.value, c.normalized);
    EXPECT_EQ(bound->Value(), c.expected) << c.value;
    EXPECT_EQ(other->AuxValue(1), c.expected) << c.value;
    EXPECT_EQ(other->AuxValue(2), 0.0) << c.value;
    EXPECT_EQ(other->AuxValue(0), 0.0) << c.value;
  }
  EXPECT_EQ(other->Value(), 0.5);
  EXPECT_TRUE(f.graphics->Tick());
  EXPECT_TRUE(f.plugin.automated.empty());  // nothing goes back to the host

  f.plugin.GetParam(3)->SetValue(5.0);
  f.plugin.RefreshEditorControls();
  EXPECT_EQ(other->AuxValue(0), 1.0);
}

}  // namespace
