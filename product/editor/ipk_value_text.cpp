#include "product/editor/ipk_value_text.h"

#include <cmath>

#include "plugin/iparam.h"

ITextStyle IPKValueTextStyle() {
  ITextStyle style("Arial", 13, IColour{255, 255, 255, 192}, kAlignCentre, kTextNormal, kQualityClearType);
  style.entryBackground = IColour{255, 255, 255, 255};
  style.entryText = IColour{255, 0, 0, 0};
  return style;
}

double IPKNormalizedDefault(const IParam& param) {
  const double range = param.Max() - param.Min();
  if (range <= 0.0) return 0.0;
  const double linear = (param.Default() - param.Min()) / range;
  return std::pow(linear, 1.0 / param.Shape());
}

std::string IPKValueText(const IParam* param, bool withLabel) {
  if (!param) return {};
  char display[IParam::kDisplaySize] = {};
  param->GetDisplay(param->Value(), false, display, true);
  std::string text(display);
  if (withLabel) text += param->GetLabel();
  return text;
}

namespace {

// Bytes of the UTF-8 sequence a lead byte starts; stray bytes count as one.
std::size_t SequenceLength(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string IPKUtf8Prefix(const std::string& text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[end]));
    if (end + length > maxBytes || end + length > text.size()) break;
    end += length;
  }
  return text.substr(0, end);
}
