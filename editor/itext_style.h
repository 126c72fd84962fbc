// How a text is drawn: font, colours (also those of the value prompt's entry
// field), alignment and quality. The font is found in the process-wide font
// cache on first use and remembered here.
#pragma once

#include <cstring>

#include "editor/icolour.h"

class PX_IFont;

enum ITextStyleKind : int { kTextNormal = 0, kTextBold = 1, kTextItalic = 2 };
enum ITextAlign : int { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };
enum ITextQuality : int {
  kQualityDefault = 0,
  kQualityNonAntialiased = 1,
  kQualityAntialiased = 2,
  kQualityClearType = 3,
};

struct ITextStyle {
  static constexpr int kFaceSize = 32;

  char face[kFaceSize] = "Verdana";
  int size = 12;  // font height in pixels
  IColour colour{255, 0, 0, 0};
  IColour entryBackground{255, 255, 255, 255};
  IColour entryText{255, 0, 0, 0};
  int style = kTextNormal;
  int align = kAlignCentre;
  int orientation = 0;  // degrees
  int quality = kQualityDefault;
  PX_IFont* font = nullptr;  // from the font cache, not owned

  ITextStyle() = default;
  ITextStyle(const char* faceName, int sizePixels, const IColour& textColour, int align_ = kAlignCentre,
             int style_ = kTextNormal, int quality_ = kQualityDefault)
      : size(sizePixels), colour(textColour), style(style_), align(align_), quality(quality_) {
    SetFace(faceName);
  }
  // Longer names are cut to 31 characters; the cached font is dropped.
  void SetFace(const char* faceName) {
    std::strncpy(face, faceName ? faceName : "", kFaceSize - 1);
    face[kFaceSize - 1] = '\0';
    font = nullptr;
  }
};
