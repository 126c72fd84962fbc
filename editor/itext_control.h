// A text drawn in its box with its text style; also the value and name
// display other controls update.
#pragma once

#include <string>

#include "editor/icontrol.h"

class ITextControl : public IControl {
 public:
  ITextControl(PluginBase* plugin, const IBox& box, const ITextStyle& style, const char* text = "");

  bool Draw(IGraphics* graphics) override;
  // Marks the control dirty when the text changes.
  void ShowText(const char* text);
  const std::string& Text() const { return mText; }

 private:
  std::string mText;
};
