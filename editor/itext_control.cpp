#include "editor/itext_control.h"

#include "editor/igraphics.h"

ITextControl::ITextControl(PluginBase* plugin, const IBox& box, const ITextStyle& style, const char* text)
    : IControl(plugin, box), mText(text ? text : "") {
  SetTextStyle(style);
}

bool ITextControl::Draw(IGraphics* graphics) {
  if (!mText.empty()) graphics->DrawText(TextStyle(), mText.c_str(), GetBox());
  return true;
}

void ITextControl::ShowText(const char* text) {
  if (!text) text = "";
  if (mText == text) return;
  SetDirty(false);
  mText = text;
}
