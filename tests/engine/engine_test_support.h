// Shared helpers for the engine tests: a recording EngineHost, parameter and
// MIDI shorthands, block rendering and measurements of rendered audio.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "engine/engine_host.h"
#include "engine/synth_engine.h"

class RecordingHost : public EngineHost {
 public:
  void SelectProgramFromMidi(int index) override { programs.push_back(index); }
  bool OfferControllerToLearn(int controller) override {
    offered.push_back(controller);
    return learnArmed;
  }
  void ApplyMappedController(int controller, double normalized) override {
    mapped.emplace_back(controller, normalized);
  }

  bool learnArmed = false;
  std::vector<int> programs;
  std::vector<int> offered;
  std::vector<std::pair<int, double>> mapped;
};

struct Stereo {
  std::vector<double> left;
  std::vector<double> right;
};

using ParameterValues = std::initializer_list<std::pair<int, double>>;

// Sets one parameter from its real value, as the plug-in frame does.
void SetParameter(SynthEngine& engine, int index, double value);
// Every parameter at its default, then the given values.
void ApplyPatch(SynthEngine& engine, ParameterValues values = {});
// A bare patch for measurements: one saw, both oscillators in unison, the
// filter wide open without modulation, full volume, no chorus.
void ApplyPlainPatch(SynthEngine& engine, ParameterValues extra = {});

void SendMidi(SynthEngine& engine, int status, int data1, int data2, int offset = 0);
void NoteOn(SynthEngine& engine, int note, int velocity = 100, int offset = 0);
void NoteOff(SynthEngine& engine, int note, int offset = 0);

// Renders frames in host blocks of blockSize.
Stereo Render(SynthEngine& engine, int frames, int blockSize = 512);

// Frequency from the upward zero crossings of a steady periodic signal,
// interpolated between samples.
double MeasureFrequency(const std::vector<double>& samples, double sampleRate);
double PeakAbs(const std::vector<double>& samples, std::size_t from = 0, std::size_t to = 0);
// Index of the first sample whose magnitude exceeds threshold, or -1.
long FirstAbove(const std::vector<double>& samples, double threshold);
