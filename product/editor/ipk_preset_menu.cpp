#include "product/editor/ipk_preset_menu.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "editor/igraphics.h"
#include "editor/imenu.h"
#include "plugin/plugin_base.h"
#include "product/editor/editor_commands.h"
#include "product/editor/ipk_value_text.h"

namespace {

ITextStyle ProgramTextStyle() {
  ITextStyle style("Arial", 15, IColour{192, 255, 255, 255}, kAlignCentre, kTextNormal, kQualityClearType);
  style.entryBackground = IColour{255, 255, 255, 255};
  style.entryText = IColour{255, 0, 0, 0};
  return style;
}

std::string PresetName(const PluginBase* plugin, int index) {
  if (!plugin || index < 0 || index >= PluginBase::kPresetCount) return {};
  const char* name = plugin->GetPresetName(index);
  return IPKUtf8Prefix(name ? name : "", IPKPresetMenu::kShownBytes);
}

}  // namespace

IPKPresetMenu::IPKPresetMenu(PluginBase* plugin, EditorCommands* commands, const IBox& numberBox, const IBox& nameBox)
    : IControl(plugin, numberBox.Union(nameBox)), mCommands(commands), mNumberBox(numberBox), mNameBox(nameBox) {
  SetTextEntryLength(kEntryLength);
  SetTextStyle(ProgramTextStyle());
}

bool IPKPresetMenu::Draw(IGraphics* graphics) {
  int index = -1;
  if (PluginBase* plugin = Plugin()) {
    // Host threads rename programs and load states under the plug-in mutex;
    // the window thread reads the name there too.
    std::lock_guard<std::recursive_mutex> lock(plugin->Mutex());
    index = plugin->CurrentPresetIndex();
    mNameText = PresetName(plugin, index);
  } else {
    mNameText.clear();
  }
  char number[kShownBytes + 1] = {};
  std::snprintf(number, sizeof number, "%02d", index);
  mNumberText = number;
  if (mNumberText.empty()) return true;
  const bool numberDrawn = graphics->DrawText(TextStyle(), mNumberText.c_str(), mNumberBox);
  const bool nameDrawn = graphics->DrawText(TextStyle(), mNameText.c_str(), mNameBox);
  return numberDrawn && nameDrawn;
}

void IPKPresetMenu::OnMouseDown(int x, int y, const IMouseMods&) {
  IGraphics* graphics = Graphics();
  if (!graphics || !Plugin()) return;
  if (mNameBox.Contains(x, y)) {
    std::string name;
    {
      std::lock_guard<std::recursive_mutex> lock(Plugin()->Mutex());
      const int index = Plugin()->CurrentPresetIndex();
      const char* current = index >= 0 && index < PluginBase::kPresetCount ? Plugin()->GetPresetName(index) : "";
      name = current ? current : "";
    }
    graphics->BeginTextEntry(this, TextStyle(), mNameBox, name.c_str(), nullptr);
  } else {
    RunProgramMenu();
  }
  graphics->MarkAllDirty();
}

IMenu IPKPresetMenu::BuildProgramMenu() const {
  IMenu menu;
  std::unique_lock<std::recursive_mutex> lock;
  if (Plugin()) lock = std::unique_lock<std::recursive_mutex>(Plugin()->Mutex());
  const int current = Plugin() ? Plugin()->CurrentPresetIndex() : -1;
  IMenu* group = nullptr;
  for (int i = 0; i < PluginBase::kPresetCount; ++i) {
    if (i % kGroupSize == 0) {
      char title[16];
      std::snprintf(title, sizeof title, "%02d - %02d", i, i + kGroupSize - 1);
      group = menu.AddSubmenu(title, std::make_unique<IMenu>()).submenu.get();
    }
    char text[64];
    std::snprintf(text, sizeof text, "%02u: %s", static_cast<unsigned>(i), PresetName(Plugin(), i).c_str());
    group->AddItem(text, i == current ? kMenuItemChecked : 0);
  }
  return menu;
}

void IPKPresetMenu::RunProgramMenu() {
  IMenu menu = BuildProgramMenu();
  IMenu* chosen = Graphics()->RunPopupMenu(menu, GetBox());
  if (!chosen) return;
  int base = 0;
  for (int g = 1; g < menu.NItems(); ++g) {
    if (menu.Item(g).submenu.get() == chosen) base = g * kGroupSize;
  }
  const int program = base + chosen->ChosenItem();
  if (program >= 0 && mCommands) mCommands->GoToProgram(program);
}

void IPKPresetMenu::TakeEntryText(const char* text) {
  PluginBase* plugin = Plugin();
  if (!plugin) return;
  // The entry may have cut the last character in two; the slot's field is
  // the other limit.
  const std::string name = IPKUtf8Prefix(text ? text : "", kEntryLength);
  {
    std::lock_guard<std::recursive_mutex> hold(plugin->Mutex());
    plugin->ModifyCurrentPreset(name.c_str());
  }
  plugin->NotifyHostProgramChange();
  plugin->NotifyHostAllParams();
  SetDirty(false);
}
