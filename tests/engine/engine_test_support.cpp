#include "engine_test_support.h"

#include <algorithm>
#include <cmath>

#include "engine/engine_parameter.h"

namespace p = engine_parameter;

void SetParameter(SynthEngine& engine, int index, double value) {
  engine.ApplyParameter(index, value, p::Normalize(index, value));
}

void ApplyPatch(SynthEngine& engine, ParameterValues values) {
  for (int index = 0; index < p::kCount; ++index) SetParameter(engine, index, p::kRanges[index].defaultValue);
  for (const auto& [index, value] : values) SetParameter(engine, index, value);
}

void ApplyPlainPatch(SynthEngine& engine, ParameterValues extra) {
  ApplyPatch(engine, {{p::kVolume, 100},
                      {p::kOsc2Tune, 0},
                      {p::kFilterFrequency, 17280},
                      {p::kFilterKeyTrack, 0},
                      {p::kAmpVelocity, 0},
                      {p::kFilterEnvAmount, 0}});
  for (const auto& [index, value] : extra) SetParameter(engine, index, value);
}

void SendMidi(SynthEngine& engine, int status, int data1, int data2, int offset) {
  MidiEvent event;
  event.frameOffset = offset;
  event.status = static_cast<std::uint8_t>(status);
  event.data1 = static_cast<std::uint8_t>(data1);
  event.data2 = static_cast<std::uint8_t>(data2);
  engine.HandleMidiMessage(event);
}

void NoteOn(SynthEngine& engine, int note, int velocity, int offset) { SendMidi(engine, 0x90, note, velocity, offset); }
void NoteOff(SynthEngine& engine, int note, int offset) { SendMidi(engine, 0x80, note, 0, offset); }

Stereo Render(SynthEngine& engine, int frames, int blockSize) {
  Stereo out;
  out.left.resize(static_cast<std::size_t>(frames));
  out.right.resize(static_cast<std::size_t>(frames));
  for (int done = 0; done < frames; done += blockSize) {
    const int n = std::min(blockSize, frames - done);
    engine.RenderBlock(out.left.data() + done, out.right.data() + done, n);
  }
  return out;
}

double MeasureFrequency(const std::vector<double>& samples, double sampleRate) {
  double first = -1.0;
  double last = -1.0;
  int crossings = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0.0 && samples[i] >= 0.0) {
      const double at = (i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
      if (first < 0.0) first = at;
      last = at;
      ++crossings;
    }
  }
  if (crossings < 2) return 0.0;
  return (crossings - 1) * sampleRate / (last - first);
}

double PeakAbs(const std::vector<double>& samples, std::size_t from, std::size_t to) {
  if (to == 0 || to > samples.size()) to = samples.size();
  double peak = 0.0;
  for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

long FirstAbove(const std::vector<double>& samples, double threshold) {
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (std::fabs(samples[i]) > threshold) return static_cast<long>(i);
  }
  return -1;
}
