// The base of every element of the editor: a box, an optional binding to one
// parameter (and auxiliary ones it also shows), a normalized value 0..1 and
// the dirty flags that drive redrawing.
//
// Threads: events and drawing arrive on the window thread. ApplyPluginValue
// and ApplyAuxValue may arrive from host threads (through
// IGraphics::ApplyParameterToControls): the value, default, auxiliary values
// and the dirty and redraw flags are atomics for that reason, and those two
// operations touch nothing else.
#pragma once

#include <atomic>
#include <vector>

#include "editor/iblend_mode.h"
#include "editor/ibox.h"
#include "editor/imouse_mods.h"
#include "editor/itext_style.h"

class IGraphics;
class IParam;
class ITextControl;
class PluginBase;

class IControl {
 public:
  static constexpr int kDefaultTextEntryLength = 7;

  IControl(PluginBase* plugin, const IBox& box, int paramIndex = -1, const IBlendMode& blend = {});
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;
  virtual ~IControl();

  // --- Virtual operations, in table order ---
  // Right button: AskForValue.
  virtual void OnMouseDown(int x, int y, const IMouseMods& mods);
  virtual void OnMouseUp(int x, int y, const IMouseMods& mods);
  virtual void OnMouseDrag(int x, int y, int dx, int dy, const IMouseMods& mods);
  // Restores the default value when there is one.
  virtual void OnMouseDblClick(int x, int y, const IMouseMods& mods);
  virtual void OnMouseWheel(int x, int y, const IMouseMods& mods, int steps);
  virtual bool OnKeyDown(int x, int y, int key);
  virtual void OnMouseOver(int x, int y, const IMouseMods& mods);
  virtual void OnMouseOut();
  virtual bool Draw(IGraphics* graphics) = 0;
  // A value from the plug-in (host thread possible): the first becomes the
  // default; later ones redraw without telling the plug-in.
  virtual void ApplyPluginValue(double value);
  // A value the user chose (menu, text entry): pushed to the plug-in.
  virtual void ApplyUserValue(double value);
  // Text typed into an entry opened without a parameter.
  virtual void TakeEntryText(const char* text);
  virtual void Hide(bool hidden);
  // Grayed controls draw at a quarter of their weight and take no clicks.
  virtual void SetGrayed(bool grayed);
  virtual bool IsHit(int x, int y);
  // Clamps the value and marks the control dirty; with push, a bound
  // control tells the plug-in (SetParameterFromEditor) and updates its
  // linked value and name displays.
  virtual void SetDirty(bool push);
  // A redraw request survives one clean: a changed control draws twice.
  virtual void SetClean();
  virtual bool IsDirty();
  virtual void ApplyAuxValue(int position, double value);

  // The value prompt: nothing for unbound controls or while prompting is
  // disabled.
  void AskForValue();

  // --- Value (any thread) ---
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  // Stores without clamping or marking; SetDirty follows in callers.
  void SetValue(double value) { mValue.store(value, std::memory_order_relaxed); }
  double DefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
  void SetDefaultValue(double value) { mDefaultValue.store(value, std::memory_order_relaxed); }
  void SetClamp(double low, double high);
  double ClampLow() const { return mClampLow; }
  double ClampHigh() const { return mClampHigh; }
  void RequestRedraw() { mRedraw.store(true, std::memory_order_release); }

  // --- Auxiliary parameters: added while the layout is built ---
  void AddAuxParam(int paramIndex);
  int NAuxParams() const { return static_cast<int>(mAuxParams.size()); }
  int AuxParamIndex(int position) const;
  double AuxValue(int position) const;

  // --- Geometry and binding ---
  const IBox& GetBox() const { return mBox; }
  void SetBox(const IBox& box) { mBox = box; }
  const IBox& TargetBox() const { return mTargetBox; }
  void SetTargetBox(const IBox& box) { mTargetBox = box; }
  int ParamIndex() const { return mParamIndex; }
  PluginBase* Plugin() const { return mPlugin; }
  // The bound parameter, or null.
  IParam* Param() const;
  // Set by IGraphics::AttachControl.
  IGraphics* Graphics() const { return mGraphics; }
  void SetGraphics(IGraphics* graphics) { mGraphics = graphics; }

  // --- Flags and style ---
  bool IsHidden() const { return mHidden; }
  bool IsGrayed() const { return mGrayed; }
  bool IsPromptDisabled() const { return mPromptDisabled; }
  void SetPromptDisabled(bool disabled) { mPromptDisabled = disabled; }
  bool TreatsDoubleClickAsClick() const { return mDblAsClick; }
  void SetTreatDoubleClickAsClick(bool on) { mDblAsClick = on; }
  bool MouseOverWhenGrayed() const { return mMouseOverWhenGrayed; }
  void SetMouseOverWhenGrayed(bool on) { mMouseOverWhenGrayed = on; }
  const IBlendMode& Blend() const { return mBlend; }
  ITextStyle& TextStyle() { return mTextStyle; }
  void SetTextStyle(const ITextStyle& style) { mTextStyle = style; }
  int TextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  // Linked displays (not owned) that a pushed value updates.
  void SetValueDisplay(ITextControl* display) { mValueDisplay = display; }
  void SetNameDisplay(ITextControl* display) { mNameDisplay = display; }

 protected:
  // Value, clamped by the control's clamp range.
  double Clamped(double value) const;

 private:
  struct AuxParam {
    std::atomic<double> value{0.0};
    int paramIndex = -1;
    explicit AuxParam(int index) : paramIndex(index) {}
    AuxParam(const AuxParam& other) : value(other.value.load()), paramIndex(other.paramIndex) {}
  };

  int mTextEntryLength = kDefaultTextEntryLength;
  ITextStyle mTextStyle;
  PluginBase* mPlugin;
  IGraphics* mGraphics = nullptr;
  IBox mBox;
  IBox mTargetBox;
  int mParamIndex;
  std::vector<AuxParam> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  double mClampLow = 0.0;
  double mClampHigh = 1.0;
  std::atomic<bool> mDirty{true};
  bool mHidden = false;
  bool mGrayed = false;
  std::atomic<bool> mRedraw{false};
  bool mPromptDisabled = true;
  bool mDblAsClick = false;
  bool mMouseOverWhenGrayed = false;
  IBlendMode mBlend;
  ITextControl* mValueDisplay = nullptr;
  ITextControl* mNameDisplay = nullptr;
};
