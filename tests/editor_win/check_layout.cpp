#include "tests/editor_win/check_layout.h"

#include <memory>
#include <string>

#include "editor/icontrol.h"
#include "editor/igraphics.h"
#include "editor/iknob_control.h"
#include "editor/ikey_codes.h"
#include "editor/imenu.h"
#include "editor/itext_control.h"
#include "plugin/iparam.h"
#include "plugin/plugin_base.h"
#include "raster/px_blit.h"

namespace editor_check {
namespace {

constexpr uint32_t kBackground = 0xFF24282E;
constexpr uint32_t kPanel = 0xFF323A44;
constexpr uint32_t kTrack = 0xFF101418;
constexpr uint32_t kBar = 0xFFE0A030;
constexpr uint32_t kSegment = 0xFF48525E;
constexpr uint32_t kChosen = 0xFF40B0E0;
constexpr uint32_t kBankButton = 0xFF70A050;
constexpr uint32_t kGrowButton = 0xFFA05070;
constexpr double kKeyStep = 0.05;

// Fills the part of box that lies in the frame being drawn.
void Fill(IGraphics* graphics, const IBox& box, uint32_t colour) {
  const IBox visible = box.Intersect(graphics->DrawBox());
  if (visible.IsEmpty()) return;
  PX_FillRegion(graphics->DrawBitmapSurface(), visible.left, visible.top, visible.Width(), visible.Height(), colour,
                1.0f, kBlitCopy);
}

ITextStyle LabelStyle(int size) {
  ITextStyle style("Arial", size, IColour{255, 240, 240, 220});
  style.entryBackground = IColour{255, 250, 250, 210};
  style.entryText = IColour{255, 20, 20, 20};
  return style;
}

class Panel : public IControl {
 public:
  explicit Panel(PluginBase* plugin) : IControl(plugin, {0, 0, IGraphics::kDefaultWidth, IGraphics::kDefaultHeight}) {}

  bool Draw(IGraphics* graphics) override {
    Fill(graphics, GetBox(), kBackground);
    Fill(graphics, {64, 64, 640, 260}, kPanel);
    return true;
  }
};

// The bar's height shows the value; the parameter's display text sits below.
class BarKnob : public IKnobControl {
 public:
  BarKnob(PluginBase* plugin, int param) : IKnobControl(plugin, kKnobBox, param) {
    SetPromptDisabled(false);
    SetTextStyle(LabelStyle(14));
  }

  bool Draw(IGraphics* graphics) override {
    Fill(graphics, GetBox(), kPanel);
    const IBox& bar = kKnobBarBox;
    Fill(graphics, bar, kTrack);
    const int filled = static_cast<int>(Value() * bar.Height() + 0.5);
    if (filled > 0) Fill(graphics, {bar.left, bar.bottom - filled, bar.right, bar.bottom}, kBar);
    if (const IParam* param = Param()) {
      char text[IParam::kDisplaySize] = {};
      param->GetDisplay(Value(), true, text);
      graphics->DrawText(TextStyle(), text, kKnobTextBox);
    }
    return true;
  }

  // Arrows up and down step the value; other keys are not taken.
  bool OnKeyDown(int, int, int key) override {
    if (key != kKeyUp && key != kKeyDown) return false;
    SetValue(Value() + (key == kKeyUp ? kKeyStep : -kKeyStep));
    SetDirty(true);
    return true;
  }
};

// One segment per choice, the chosen one lit; a click opens a menu whose
// third item holds the choices as a sub-menu.
class ChoiceButton : public IControl {
 public:
  ChoiceButton(PluginBase* plugin, int param) : IControl(plugin, kMenuBox, param) {}

  bool Draw(IGraphics* graphics) override {
    const IParam* param = Param();
    const int count = param ? static_cast<int>(param->DisplayTexts().size()) : 1;
    const int chosen = param ? static_cast<int>(Value() * (count - 1) + 0.5) : 0;
    const IBox& box = GetBox();
    for (int i = 0; i < count; ++i) {
      const int left = box.left + box.Width() * i / count;
      const int right = box.left + box.Width() * (i + 1) / count;
      Fill(graphics, {left + 1, box.top, right - 1, box.bottom}, i == chosen ? kChosen : kSegment);
    }
    return true;
  }

  void OnMouseDown(int, int, const IMouseMods&) override {
    const IParam* param = Param();
    if (!param || !Graphics()) return;
    IMenu menu(IMenu::kPrefixTwoDigits);
    menu.AddItem("Nothing", kMenuItemGreyed);
    menu.AddSeparator();
    auto choices = std::make_unique<IMenu>();
    for (const IParam::DisplayText& entry : param->DisplayTexts()) choices->AddItem(entry.text);
    IMenu* submenu = choices.get();
    menu.AddSubmenu("Wave", std::move(choices));
    if (Graphics()->RunPopupMenu(menu, GetBox()) == submenu) {
      ApplyUserValue(param->GetNormalized(submenu->ChosenItem()));
    }
  }
};

// Saves the bank where the save dialog says, then loads the bank the open
// dialog names.
class BankButton : public IControl {
 public:
  explicit BankButton(PluginBase* plugin) : IControl(plugin, kBankBox) {}

  bool Draw(IGraphics* graphics) override {
    Fill(graphics, GetBox(), kBankButton);
    return true;
  }

  void OnMouseDown(int, int, const IMouseMods&) override {
    IGraphics* graphics = Graphics();
    std::string file = "check.fxb";
    std::string folder;
    graphics->ChooseFile(file, IGraphics::kFileSave, folder, "fxb fxp");
    if (file.empty() || !Plugin()->SaveBankFile(file.c_str())) return;
    std::string chosen;
    graphics->ChooseFile(chosen, IGraphics::kFileOpen, folder, "fxb");
    if (!chosen.empty()) Plugin()->LoadBankFile(chosen.c_str());
  }
};

class GrowButton : public IControl {
 public:
  explicit GrowButton(PluginBase* plugin) : IControl(plugin, kGrowBox) {}

  bool Draw(IGraphics* graphics) override {
    Fill(graphics, GetBox(), kGrowButton);
    return true;
  }

  // Resizing destroys this control: nothing of it is touched afterwards.
  void OnMouseDown(int, int, const IMouseMods&) override {
    IGraphics* graphics = Graphics();
    graphics->Resize(graphics->Width() + kGrowWidth, graphics->Height() + kGrowHeight);
  }
};

}  // namespace

void Build(IGraphics& graphics) {
  graphics.Resize(IGraphics::kDefaultWidth, IGraphics::kDefaultHeight);
  PluginBase* plugin = graphics.Plugin();
  graphics.AttachControl(new Panel(plugin));
  graphics.AttachControl(new BarKnob(plugin, kKnobParam));
  graphics.AttachControl(new ChoiceButton(plugin, kMenuParam));
  graphics.AttachControl(new BankButton(plugin));
  graphics.AttachControl(new GrowButton(plugin));
  graphics.AttachControl(new ITextControl(plugin, kTitleBox, LabelStyle(20), kTitle));
}

}  // namespace editor_check
