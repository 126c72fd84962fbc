// A rotary control turned by dragging (vertically or horizontally, geared
// down) and by the wheel. Drawing is left to subclasses.
#pragma once

#include "editor/icontrol.h"

enum IDirection : int { kVertical = 0, kHorizontal = 1 };

class IKnobControl : public IControl {
 public:
  static constexpr double kDefaultGearing = 4.0;
  // Fine adjustment with control or shift held.
  static constexpr double kFineFactor = 10.0;
  static constexpr double kWheelStep = 0.01;
  static constexpr double kFineWheelStep = 0.001;

  IKnobControl(PluginBase* plugin, const IBox& box, int paramIndex, int direction = kVertical,
               double gearing = kDefaultGearing, const IBlendMode& blend = {});

  // Dragging over the whole box changes the value by 1 / gearing.
  void OnMouseDrag(int x, int y, int dx, int dy, const IMouseMods& mods) override;
  void OnMouseWheel(int x, int y, const IMouseMods& mods, int steps) override;

  int Direction() const { return mDirection; }
  double Gearing() const { return mGearing; }

 private:
  int mDirection;
  double mGearing;
};
