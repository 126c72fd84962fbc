// Which vector code renders the voices: the portable SSE2 code (two doubles a
// register, one voice a lane of scalar operations) or AVX2 (four voices a
// vector), chosen once per process from what the processor offers. Both give
// the same samples to the bit; the choice can be forced for comparisons.
#pragma once

enum class VectorPath : int { kSse2 = 0, kAvx2 = 1 };

// The widest path this processor runs (always SSE2 in a build made with
// VORN_SSE2_ONLY, which measures that path inside the plug-in libraries).
VectorPath BestVectorPath();
// The path in use (BestVectorPath() until changed).
VectorPath SelectedVectorPath();
// Selects a path for every engine in the process; false, changing nothing,
// when the processor cannot run it. Not while any engine renders.
bool SelectVectorPath(VectorPath path);
