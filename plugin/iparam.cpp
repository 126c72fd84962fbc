#include "plugin/iparam.h"

#include "plugin/int_conversion.h"
#include "plugin/number_text.h"
#include "plugin/text_copy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void CopyText(char* field, const char* text) { CopyTruncated(field, text, IParam::kTextSize); }

}  // namespace

void IParam::InitDouble(const char* name, double defaultValue, double min, double max, double step, const char* label,
                        double shape) {
  if (mKind == kNone) mKind = kDouble;
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, "");
  mMin = min;
  mValue.store(defaultValue, std::memory_order_relaxed);
  mDefault = defaultValue;
  mStep = step;
  mMax = std::max(max, min + step);
  mPrecision = 0;
  for (double s = step; s != std::floor(s) && mPrecision < kMaxPrecision; s *= 10.0) ++mPrecision;
  if (shape != 0.0) mShape = shape;
}

void IParam::InitInt(const char* name, int defaultValue, int min, int max, const char* label) {
  if (mKind == kNone) mKind = kInt;
  InitDouble(name, defaultValue, min, max, 1.0, label, 1.0);
}

void IParam::InitEnum(const char* name, int defaultValue, int count, const char* const* texts) {
  if (mKind == kNone) mKind = kEnum;
  InitDouble(name, defaultValue, 0.0, count - 1, 1.0, "", 1.0);
  for (int i = 0; i < count; ++i) SetDisplayText(i, texts[i]);
}

void IParam::SetDisplayText(int value, const char* text) {
  DisplayText entry{value, {}};
  CopyText(entry.text, text);
  mDisplayTexts.push_back(entry);
}

double IParam::ToReal(double normalized) const { return mMin + (mMax - mMin) * std::pow(normalized, mShape); }

void IParam::SetNormalized(double normalized) {
  double v = ToReal(normalized);
  if (mKind != kDouble) v = std::floor(v / mStep + 0.5) * mStep;
  // A NaN from a careless caller must not reach the engine; the lower end is
  // left open for values below 0, as they are never passed.
  mValue.store(std::isnan(v) ? mMin : std::min(v, mMax), std::memory_order_relaxed);
}

void IParam::SetValue(double value) {
  mValue.store(std::isnan(value) ? mMin : std::clamp(value, mMin, mMax), std::memory_order_relaxed);
}

double IParam::GetNormalized(double value) const {
  const double clamped = value < mMin ? mMin : std::min(value, mMax);
  return std::pow((clamped - mMin) / (mMax - mMin), 1.0 / mShape);
}

const char* IParam::DisplayTextFor(int value) const {
  for (const DisplayText& entry : mDisplayTexts) {
    if (entry.value == value) return entry.text;
  }
  return nullptr;
}

void IParam::GetDisplay(double x, bool normalized, char* text, bool useTexts) const {
  double v = normalized ? ToReal(x) : x;
  if (mDisplayFunction) {
    mDisplayFunction(v, text);
    return;
  }
  if (useTexts && !mDisplayTexts.empty()) {
    const char* entry = DisplayTextFor(TruncateToInt(v));
    if (entry && entry[0]) {
      CopyTruncated(text, entry, kDisplaySize);
      return;
    }
  }
  if (mNegateDisplay) v = -v;
  if (mPrecision > 0) {
    FormatFixed(v, mPrecision, text, kDisplaySize);
  } else {
    std::snprintf(text, kDisplaySize, "%d", TruncateToInt(v));
  }
}

const char* IParam::GetLabel() const {
  if (!mDisplayTexts.empty()) {
    const char* entry = DisplayTextFor(TruncateToInt(Value()));
    if (entry && entry[0]) return "";
  }
  return mLabel;
}

int IParam::Int() const { return TruncateToInt(Value()); }
