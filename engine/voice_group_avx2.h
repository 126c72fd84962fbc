// Four sounding voices rendered side by side in the four lanes of AVX2
// vectors. Each lane performs exactly the operations of Voice::RenderSample,
// in the same order and rounding (no contraction into fused multiply-adds),
// so the output is bit for bit that of the scalar path. Rare per-lane events
// (a hard-sync wrap, an envelope changing stage) are handed to the scalar code
// of the voice concerned. Built with AVX2 enabled; call it only where the
// processor has AVX2 (see vector_path.h).
#pragma once

class Voice;

class VoiceGroupAvx2 {
 public:
  // The most groups rendered side by side.
  static constexpr int kMaxGroups = 4;
  // Adds n samples of count (1..kMaxGroups) consecutive groups of four voices,
  // each of which VoiceGroupState::CanRender, to mix, voice by voice in order.
  static void Render(Voice* const* groups, int count, double* mix, int n);

 private:
  class EnvelopeLanes;
  class Lanes;
};
