// The value prompt of IGraphics: a menu of display texts or a text entry
// with the present value, and what a confirmed entry does, shared by every
// window layer.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "editor/icontrol.h"
#include "editor/igraphics.h"
#include "plugin/iparam.h"
#include "plugin/number_text.h"
#include "plugin/plugin_base.h"

namespace {

bool PromptsWithMenu(const IParam& param) {
  return param.GetKind() == IParam::kEnum || (param.GetKind() == IParam::kBool && !param.DisplayTexts().empty());
}

// Sign, digits and a fraction: all an entry with a parameter lets through.
double ReadDecimal(const std::string& text) {
  size_t end = 0;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  size_t digits = 0;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end, ++digits;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end, ++digits;
  }
  double value = 0.0;
  if (digits == 0 || !ParseDecimal(std::string_view(text).substr(0, end), value)) return 0.0;
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

std::string IGraphics::FormatPromptValue(const IParam& param) {
  char text[IParam::kDisplaySize * 2] = {};
  double value = param.Value();
  if (param.HasDisplayFunction()) {
    param.GetDisplay(value, false, text, false);
    return text;
  }
  if (param.NegateDisplay()) value = -value;
  if (param.Precision() > 0) {
    FormatFixed(value, param.Precision(), text, sizeof text);
  } else {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  }
  return text;
}

void IGraphics::AskForParameterValue(IControl* control, const IParam* param, const IBox* box) {
  if (!control || !param || !box) return;
  // Host threads change the value under the plug-in mutex: read it there,
  // and show the prompt (which waits for the user) outside it.
  std::string shown;
  char present[IParam::kDisplaySize] = {};
  {
    std::unique_lock<std::recursive_mutex> lock;
    if (mPlugin) lock = std::unique_lock<std::recursive_mutex>(mPlugin->Mutex());
    shown = FormatPromptValue(*param);
    param->GetDisplay(param->Value(), false, present, true);
  }
  if (!PromptsWithMenu(*param)) {
    BeginTextEntry(control, control->TextStyle(), *box, shown.c_str(), param);
    return;
  }
  IMenu menu;
  const int count = static_cast<int>(param->DisplayTexts().size());
  for (int value = 0; value < count; ++value) {
    const char* text = param->DisplayTextFor(value);
    if (!text) text = "";
    menu.AddItem(text, std::strcmp(text, present) == 0 ? kMenuItemChecked : 0);
  }
  IMenu* chosen = RunPopupMenu(menu, *box);
  if (chosen != &menu || chosen->ChosenItem() < 0) return;
  control->ApplyUserValue(param->GetNormalized(static_cast<double>(chosen->ChosenItem())));
}

void IGraphics::CommitEntryText(IControl* control, const IParam* param, const char* text) {
  if (!control) return;
  const std::string typed = std::string(text ? text : "").substr(0, kEntryTextLimit);
  if (!param) {
    control->TakeEntryText(typed.c_str());
    return;
  }
  double value = 0.0;
  if (param->GetKind() == IParam::kBool || param->GetKind() == IParam::kEnum) {
    for (const IParam::DisplayText& entry : param->DisplayTexts()) {
      if (typed == entry.text) {
        value = entry.value;
        break;
      }
    }
  } else {
    value = ReadDecimal(typed);
    if (param->NegateDisplay()) value = -value;
  }
  control->ApplyUserValue(param->GetNormalized(value));
}

bool IGraphics::EntryAcceptsCharacter(const IParam* param, int character) {
  if (!param || character == '\b') return true;
  const bool sign = character == '+' || character == '-';
  const bool digit = character >= '0' && character <= '9';
  switch (param->GetKind()) {
    case IParam::kBool:
    case IParam::kInt:
    case IParam::kEnum: return sign || digit;
    case IParam::kDouble: return sign || digit || character == '.';
    default: return true;
  }
}
