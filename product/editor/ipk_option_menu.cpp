#include "product/editor/ipk_option_menu.h"

#include <memory>
#include <string>

#include "editor/igraphics.h"
#include "editor/imenu.h"
#include "product/editor/editor_commands.h"
#include "product/update/server_settings.h"

namespace {

constexpr int kMidiSettingsItem = 14;
constexpr int kOnlineItem = 19;

int GreyedUnless(bool enabled) { return enabled ? 0 : kMenuItemGreyed; }
int CheckedIf(bool on) { return on ? kMenuItemChecked : 0; }

}  // namespace

IPKOptionMenu::IPKOptionMenu(PluginBase* plugin, EditorCommands* commands, const IBox& box)
    : IControl(plugin, box, kCommand), mCommands(commands) {}

bool IPKOptionMenu::Draw(IGraphics*) { return true; }

IMenu IPKOptionMenu::BuildMenu() const {
  const bool clipboard = mCommands && mCommands->HasCopiedProgram();
  const bool startupBank = mCommands && mCommands->HasStartupBank();
  auto midi = std::make_unique<IMenu>();
  midi->AddItem("MIDI Thru", CheckedIf(mCommands && mCommands->MidiThru()));
  midi->AddItem("Ignore Program Change", CheckedIf(mCommands && mCommands->IgnoreProgramChange()));
  auto online = std::make_unique<IMenu>();
  online->AddItem("Check Online for Update");
  online->AddItem((std::string("Visit ") + kMakerWebAddress).c_str());

  IMenu menu;
  menu.AddItem("Copy Program");
  menu.AddItem("Paste Program", GreyedUnless(clipboard));
  menu.AddItem("Init Program");
  menu.AddSeparator();
  menu.AddItem("Load Program");
  menu.AddItem("Save Program");
  menu.AddItem("Load Bank");
  menu.AddItem("Save Bank");
  menu.AddSeparator();
  menu.AddItem("Select Startup Bank");
  menu.AddItem("Load Startup Bank", GreyedUnless(startupBank));
  menu.AddItem("Unselect Startup Bank", GreyedUnless(startupBank));
  menu.AddSeparator();
  menu.AddItem("Default Path for Program Files");
  menu.AddSubmenu("Global MIDI Settings...", std::move(midi));
  menu.AddItem("Reload Configuration");
  menu.AddItem("Save Configuration");
  menu.AddSeparator();
  menu.AddItem("Switch View");
  menu.AddSubmenu("Go Online...", std::move(online));
  return menu;
}

int IPKOptionMenu::CommandFor(IMenu& menu, const IMenu* chosen) {
  if (!chosen || chosen->ChosenItem() < 0) return -1;
  if (chosen == &menu) return chosen->ChosenItem();
  if (chosen == menu.Item(kMidiSettingsItem).submenu.get()) return kMidiSettingsOffset + chosen->ChosenItem();
  if (chosen == menu.Item(kOnlineItem).submenu.get()) return kOnlineOffset + chosen->ChosenItem();
  return -1;
}

void IPKOptionMenu::OnMouseDown(int x, int y, const IMouseMods&) {
  IGraphics* graphics = Graphics();
  if (!graphics) return;
  IMenu menu = BuildMenu();
  const int command = CommandFor(menu, graphics->RunPopupMenu(menu, IBox{x, y, x, y}));
  if (command == kCommandVisitWebSite) {
    graphics->OpenLink(kMakerWebPage, nullptr, nullptr, nullptr);
  } else if (command >= 0 && mCommands) {
    mCommands->RunMenuCommand(*graphics, command);
  }
  graphics->MarkAllDirty();
}
