// Fundamental frequency of a steady tone by the YIN method: the cumulative
// mean normalised difference
//   d'(tau) = d(tau) * tau / sum_{j=1..tau} d(j),  d(tau) = sum_i (x_i - x_{i+tau})^2
// picks the first lag whose d' falls under a threshold (so a rich waveform is
// not mistaken for its octave), refined by a parabola through its neighbours.
// Range 40 Hz to 2 kHz; the window should hold at least a few periods of the
// lowest of these. Precision: a small fraction of a cent for a steady tone.
#pragma once

#include <vector>

// Hz, or 0 when the window holds no periodic tone.
double EstimateFundamental(const std::vector<double>& signal, int sampleRate);
