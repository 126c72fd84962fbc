// Facts several parts of the engine share.
#pragma once

constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;

// Modulation runs in control ticks of one millisecond; whatever counts time
// in ticks converts with this.
constexpr int kControlTicksPerSecond = 1000;
