// Rendering through the effect record's audio callbacks, the way a host
// calls them, and the measures the checks take of the result.
#pragma once

#include <cstdint>
#include <vector>

class PluginInstance;

enum class AudioPath {
  kFloatReplacing,     // processReplacing
  kFloatAccumulating,  // process: adds into what the buffers hold
  kDoubleReplacing,    // processDoubleReplacing
};

// Both output channels, in double precision whatever path produced them.
struct StereoAudio {
  std::vector<double> left;
  std::vector<double> right;
};

// Renders `frames` frames in callbacks of `callbackFrames` frames each. Every
// host buffer holds `prefill` in each sample before its callback, so the
// result shows what a callback added to it or left alone.
StereoAudio Render(const PluginInstance& instance, AudioPath path, int frames, int callbackFrames,
                   float prefill = 0.0f);

bool IsFinite(const StereoAudio& audio);
double Peak(const StereoAudio& audio);
// The first frame at which either channel's magnitude exceeds `threshold`;
// -1 when there is none.
int FirstFrameAbove(const StereoAudio& audio, double threshold);
// The largest sample-by-sample difference; infinite when the lengths differ.
double MaxDifference(const StereoAudio& a, const StereoAudio& b);
// Subtracts `offset` from every sample (undoes a prefill).
StereoAudio Minus(const StereoAudio& audio, double offset);
