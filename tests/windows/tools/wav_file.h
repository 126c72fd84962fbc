// Reads the WAV files the renderers write into doubles, so renders made by
// different builds can be compared sample by sample. Integer PCM (16, 24, 32
// bits) and IEEE float (32, 64 bits), plain or WAVE_FORMAT_EXTENSIBLE.
#pragma once

#include <string>
#include <vector>

struct WavAudio {
  int channels = 0;
  int sampleRate = 0;
  // Interleaved frames, full scale = 1.0.
  std::vector<double> samples;

  long Frames() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }
};

// False with a reason in error when the file cannot be read or is not a WAV
// file this reader understands.
bool ReadWavFile(const std::string& path, WavAudio& audio, std::string& error);
