// Which vector code renders the voices: the portable SSE2 code (two doubles a
// register, two voices a vector) or AVX2 (four voices a vector), chosen once
// per process from what the processor offers. Both give
// the same samples to the bit; the choice can be forced for comparisons.
#pragma once

// kScalar renders one voice after another in plain scalar code, as the
// voice's own RenderSample reads: the reference the vector code is held to,
// and the SSE2 path of earlier versions.
enum class VectorPath : int { kSse2 = 0, kAvx2 = 1, kScalar = 2 };

// The widest path this processor runs (always SSE2 in a build made with
// VORN_SSE2_ONLY, which measures that path inside the plug-in libraries).
VectorPath BestVectorPath();
// The path in use (BestVectorPath() until changed).
VectorPath SelectedVectorPath();
// Selects a path for every engine in the process; false, changing nothing,
// when the processor cannot run it. Not while any engine renders.
bool SelectVectorPath(VectorPath path);
