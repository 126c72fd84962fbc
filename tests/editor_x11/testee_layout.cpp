#include "tests/editor_x11/testee_layout.h"

#include <memory>
#include <string>

#include "editor/icontrol.h"
#include "editor/igraphics.h"
#include "editor/imenu.h"
#include "plugin/iparam.h"
#include "plugin/plugin_base.h"
#include "tools/vorn-snapshot/test_layout.h"

namespace testee_layout {
namespace {

class MenuButton : public IControl {
 public:
  MenuButton(PluginBase* plugin)
      : IControl(plugin, {kMenuButtonLeft, kMenuButtonTop, kMenuButtonRight, kMenuButtonBottom}) {}

  bool Draw(IGraphics*) override { return true; }

  void OnMouseDown(int, int, const IMouseMods&) override {
    IMenu menu;
    menu.AddItem("Alpha");
    auto more = std::make_unique<IMenu>();
    more->AddItem("Beta");
    more->AddItem("Gamma");
    menu.AddSubmenu("More", std::move(more));
    menu.AddItem("Ask");
    menu.AddItem("File");
    IMenu* chosen = Graphics()->RunPopupMenu(menu, GetBox());
    if (!chosen) return;
    if (chosen == &menu && chosen->ChosenItem() == kFileItem) {
      std::string fileName;
      std::string folder = kFileFolder;
      Graphics()->ChooseFile(fileName, IGraphics::kFileOpen, folder, "fxp fxb");
      if (!fileName.empty()) Plugin()->SetParameterFromEditor(kMenuParam, 0.5);
      return;
    }
    if (chosen != &menu || chosen->ChosenItem() != kAskItem) {
      Plugin()->SetParameterFromEditor(kMenuParam, chosen->ChosenItem() / 2.0);
      return;
    }
    const int answer = Graphics()->ShowMessage("Set the value?", kAskCaption, IGraphics::kMessageYesNoCancel);
    if (answer == IGraphics::kAnswerYes) Plugin()->SetParameterFromEditor(kMenuParam, 1.0);
    if (answer == IGraphics::kAnswerNo) Plugin()->SetParameterFromEditor(kMenuParam, 0.0);
  }
};

}  // namespace

void Build(IGraphics& graphics) {
  test_layout::Build(graphics);
  PluginBase* plugin = graphics.Plugin();
  // The first knob prompts for a typed value on a right click. It is found
  // from the end: the later control is the one a click reaches.
  for (int i = graphics.NControls() - 1; i >= 0; --i) {
    if (graphics.GetControl(i)->ParamIndex() == test_layout::kKnobParams[0]) {
      graphics.GetControl(i)->SetPromptDisabled(false);
      break;
    }
  }
  graphics.AttachControl(new MenuButton(plugin));
  for (int i = 0; i < PluginBase::kParameterCount; ++i) {
    graphics.ApplyPluginValueToControls(i, plugin->GetParam(i)->GetNormalized());
  }
}

}  // namespace testee_layout
