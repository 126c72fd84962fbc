#include "tests/host/audio_render.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "tests/host/plugin_instance.h"

namespace {

template <typename Sample>
void RenderCallbacks(const PluginInstance& instance, AudioPath path, int frames, int callbackFrames, float prefill,
                     StereoAudio& out) {
  vst2::AEffect* effect = instance.effect();
  std::vector<Sample> left(static_cast<std::size_t>(callbackFrames));
  std::vector<Sample> right(static_cast<std::size_t>(callbackFrames));
  Sample* outputs[2] = {left.data(), right.data()};
  for (int done = 0; done < frames; done += callbackFrames) {
    int count = std::min(callbackFrames, frames - done);
    std::fill(left.begin(), left.end(), static_cast<Sample>(prefill));
    std::fill(right.begin(), right.end(), static_cast<Sample>(prefill));
    if constexpr (std::is_same_v<Sample, double>) {
      effect->processDoubleReplacing(effect, nullptr, outputs, count);
    } else if (path == AudioPath::kFloatAccumulating) {
      effect->process(effect, nullptr, outputs, count);
    } else {
      effect->processReplacing(effect, nullptr, outputs, count);
    }
    out.left.insert(out.left.end(), left.begin(), left.begin() + count);
    out.right.insert(out.right.end(), right.begin(), right.begin() + count);
  }
}

}  // namespace

StereoAudio Render(const PluginInstance& instance, AudioPath path, int frames, int callbackFrames, float prefill) {
  StereoAudio out;
  out.left.reserve(static_cast<std::size_t>(frames));
  out.right.reserve(static_cast<std::size_t>(frames));
  if (path == AudioPath::kDoubleReplacing) {
    RenderCallbacks<double>(instance, path, frames, callbackFrames, prefill, out);
  } else {
    RenderCallbacks<float>(instance, path, frames, callbackFrames, prefill, out);
  }
  return out;
}

bool IsFinite(const StereoAudio& audio) {
  auto finite = [](double x) { return std::isfinite(x); };
  return std::all_of(audio.left.begin(), audio.left.end(), finite) &&
         std::all_of(audio.right.begin(), audio.right.end(), finite);
}

double Peak(const StereoAudio& audio) {
  double peak = 0.0;
  for (double x : audio.left) peak = std::max(peak, std::fabs(x));
  for (double x : audio.right) peak = std::max(peak, std::fabs(x));
  return peak;
}

int FirstFrameAbove(const StereoAudio& audio, double threshold) {
  for (std::size_t i = 0; i < audio.left.size(); ++i) {
    if (std::fabs(audio.left[i]) > threshold || std::fabs(audio.right[i]) > threshold) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

double MaxDifference(const StereoAudio& a, const StereoAudio& b) {
  if (a.left.size() != b.left.size() || a.right.size() != b.right.size()) {
    return std::numeric_limits<double>::infinity();
  }
  double difference = 0.0;
  for (std::size_t i = 0; i < a.left.size(); ++i) {
    double step = std::max(std::fabs(a.left[i] - b.left[i]), std::fabs(a.right[i] - b.right[i]));
    if (std::isnan(a.left[i] + b.left[i] + a.right[i] + b.right[i])) {
      return std::numeric_limits<double>::infinity();
    }
    difference = std::max(difference, step);
  }
  return difference;
}

StereoAudio Minus(const StereoAudio& audio, double offset) {
  StereoAudio out = audio;
  for (double& x : out.left) x -= offset;
  for (double& x : out.right) x -= offset;
  return out;
}
