// One automatable parameter: its real value, range, quantisation step, shape
// exponent for the normalised mapping, and how it is shown to the user.
//
//   v = min + (max - min) * n^shape        n = ((clamp(v) - min) / (max - min))^(1 / shape)
#pragma once

#include <atomic>
#include <vector>

class IParam {
 public:
  enum Kind { kNone = 0, kBool = 1, kInt = 2, kEnum = 3, kDouble = 4 };
  using DisplayFunction = void (*)(double value, char* text);

  static constexpr int kTextSize = 32;
  static constexpr int kMaxPrecision = 6;

  struct DisplayText {
    int value;
    char text[kTextSize];
  };

  void InitDouble(const char* name, double defaultValue, double min, double max, double step, const char* label = "",
                  double shape = 1.0);
  void InitInt(const char* name, int defaultValue, int min, int max, const char* label = "");
  void InitEnum(const char* name, int defaultValue, int count, const char* const* texts);
  void SetDisplayText(int value, const char* text);
  void SetDisplayFunction(DisplayFunction function) { mDisplayFunction = function; }
  bool HasDisplayFunction() const { return mDisplayFunction != nullptr; }
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }

  void SetNormalized(double normalized);
  void SetValue(double value);
  double GetNormalized() const { return GetNormalized(Value()); }
  double GetNormalized(double value) const;
  double ToReal(double normalized) const;

  // Writes at most kDisplaySize bytes including the terminator.
  static constexpr int kDisplaySize = 64;
  void GetDisplay(double x, bool normalized, char* text, bool useTexts = true) const;
  const char* GetLabel() const;

  Kind GetKind() const { return mKind; }
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  int Int() const;
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  double Default() const { return mDefault; }
  int Precision() const { return mPrecision; }
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }
  const char* Group() const { return mGroup; }
  bool NegateDisplay() const { return mNegateDisplay; }
  const std::vector<DisplayText>& DisplayTexts() const { return mDisplayTexts; }
  // The text for an integer value, or null when none is set.
  const char* DisplayTextFor(int value) const;

 private:
  DisplayFunction mDisplayFunction = nullptr;
  Kind mKind = kNone;
  // Set under the plug-in mutex (host and audio threads), read without it by
  // the editor's window thread as it draws the value texts.
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mGroup[kTextSize] = {};
  bool mNegateDisplay = false;
  std::vector<DisplayText> mDisplayTexts;
};
