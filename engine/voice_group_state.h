// A group of four voices as the vector kernels (voice_group_sse2,
// voice_group_avx2) hold it while a block renders: every value their
// per-sample loop reads or writes, one array element a voice, gathered from
// the voices before the render and put back after it. Each kernel moves the
// arrays into and out of vectors of its own width.
#pragma once

#include <cstdint>

#include "engine/envelope.h"

class OscillatorPair;
class PitchTables;
class Voice;
class VoiceFilter;

struct VoiceGroupState {
  static constexpr int kLanes = 4;

  // Whether the four voices can share the vector code: one filter mode and one
  // set of pitch tables.
  static bool CanRender(Voice* const* group);

  explicit VoiceGroupState(Voice* const* group);
  // Puts the oscillator phases and the filters' coefficients, state, cutoff
  // index and count of coefficient updates back into the voices.
  void Save() const;
  // Oscillator 1 wrapped to next in the lanes of syncs (bits): oscillator 2
  // restarts there, in phase2.
  void RestartSynced(int syncs, const std::int32_t* next, std::int32_t* phase2) const;

  OscillatorPair* osc[kLanes];
  VoiceFilter* filter[kLanes];
  bool smooth;
  const PitchTables* tables;
  const double* table1[kLanes];
  const double* table2[kLanes];
  alignas(16) std::int32_t phase1[kLanes], phase2[kLanes], increment1[kLanes], increment2[kLanes];
  // -1 in the lanes whose oscillator 2 is synced, else 0.
  alignas(16) std::int32_t synced[kLanes];
  double syncRatio[kLanes];
  alignas(16) std::int32_t cachedIndex[kLanes];
  // Coefficient computations of this render, added to each filter's count.
  alignas(16) std::int32_t updates[kLanes];
  // The modulation terms other than the envelope's hold for the block.
  alignas(32) double envelopeAmount[kLanes], cutoff[kLanes], lfoTerm[kLanes], keyTerm[kLanes], velocityTerm[kLanes];
  alignas(32) double resonance[kLanes], velocityFactor[kLanes];
  alignas(32) double b[kLanes], k[kLanes], c2[kLanes], c4[kLanes], feedback[kLanes];
  alignas(32) double s0[kLanes], s1[kLanes], s2[kLanes], s3[kLanes], offset[kLanes];
};

// One envelope of each of the four voices, as the kernels step it.
struct VoiceGroupEnvelopes {
  static constexpr int kLanes = VoiceGroupState::kLanes;

  VoiceGroupEnvelopes(Voice* const* group, Envelope Voice::*member) : group(group), member(member) {}

  Envelope& At(int lane) const;
  void Gather();
  // Writes the levels back.
  void Save() const;
  // The lanes in special (bits) are stepped by their envelopes, which know
  // what comes next; the others take the level in next.
  void StepLanes(int special, const double* next) const;

  Voice* const* group;
  Envelope Voice::*member;
  alignas(32) double level[kLanes], target[kLanes], coefficient[kLanes];
  bool active[kLanes], attack[kLanes];
  // No lane's level or stage changes any more in this render.
  bool settled;
};
