// What the product's parameter-bound controls share: the one style of their
// value texts, the text they print, and the default a double-click restores.
#pragma once

#include <cstddef>
#include <string>

#include "editor/itext_style.h"

class IParam;

// Arial 13, pale yellow (255, 255, 192), centred, ClearType quality.
ITextStyle IPKValueTextStyle();

// The parameter's normalised default: ((default - min) / (max - min))^(1 / shape).
double IPKNormalizedDefault(const IParam& param);

// The display of the parameter's present value, display texts allowed; with
// withLabel the unit label follows directly, unless a display text was shown.
// Empty for a null parameter.
std::string IPKValueText(const IParam* param, bool withLabel);

// The longest prefix of text of at most maxBytes bytes that ends on a whole
// UTF-8 character: a character cut by the limit, or left incomplete at the
// end of text (an earlier cut), is dropped whole. Stray bytes count as one.
std::string IPKUtf8Prefix(const std::string& text, std::size_t maxBytes);
