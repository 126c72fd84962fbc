// Four sounding voices rendered in two pairs, each pair in the two lanes of
// SSE2 vectors: the portable path of every x86 processor the plug-in runs on
// (x86-64, and the 32-bit build, which computes with SSE2). Each lane performs
// exactly the operations of Voice::RenderSample, in the same order and
// rounding, so the output is bit for bit that of the scalar code. Rare
// per-lane events (a hard-sync wrap, an envelope changing stage) are handed to
// the scalar code of the voice concerned.
#pragma once

class Voice;

class VoiceGroupSse2 {
 public:
  // The most groups rendered side by side.
  static constexpr int kMaxGroups = 2;
  // Adds n samples of count (1..kMaxGroups) consecutive groups of four voices,
  // each of which VoiceGroupState::CanRender, to mix, voice by voice in order.
  static void Render(Voice* const* groups, int count, double* mix, int n);

 private:
  class EnvelopeLanes;
  class Lanes;
};
