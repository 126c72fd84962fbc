#include "engine/voice_group_sse2.h"

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/voice.h"
#include "engine/voice_group_state.h"

#define VORN_SSE2_INLINE __attribute__((always_inline)) inline

namespace {

constexpr int kLanes = 4;  // voices in a group
constexpr int kPairs = 2;  // vectors of two doubles that hold them

// Lane values move between vectors and the voices through these.
struct alignas(16) DoubleLanes {
  double v[kLanes];
  VORN_SSE2_INLINE __m128d Load(int pair) const { return _mm_load_pd(v + 2 * pair); }
  VORN_SSE2_INLINE void Store(int pair, __m128d x) { _mm_store_pd(v + 2 * pair, x); }
};

struct alignas(16) IntLanes {
  std::int32_t v[kLanes];
  VORN_SSE2_INLINE __m128i Load() const { return _mm_load_si128(reinterpret_cast<const __m128i*>(v)); }
  VORN_SSE2_INLINE void Store(__m128i x) { _mm_store_si128(reinterpret_cast<__m128i*>(v), x); }
};

__m128d LaneMask(const bool* lanes, int pair) {
  return _mm_castsi128_pd(_mm_set_epi64x(-std::int64_t{lanes[2 * pair + 1]}, -std::int64_t{lanes[2 * pair]}));
}

// b where mask is set, else a.
VORN_SSE2_INLINE __m128d Blend(__m128d a, __m128d b, __m128d mask) {
  return _mm_or_pd(_mm_and_pd(mask, b), _mm_andnot_pd(mask, a));
}

// Clip(x) = x < -1 ? -1 : (x > 1 ? 1 : x). minpd and maxpd return their second
// operand unless the first compares as less or greater, so NaN passes through
// as in the scalar code.
VORN_SSE2_INLINE __m128d Clip(__m128d x) { return _mm_max_pd(_mm_set1_pd(-1.0), _mm_min_pd(_mm_set1_pd(1.0), x)); }

// Wave-table entries phase >> 16 of two lanes' tables. Phases stay below 2^28,
// so the entry is the upper 16-bit half of the lane.
template <int kFirstLane>
VORN_SSE2_INLINE __m128d LookupPair(const double* const* tables, __m128i phases) {
  return _mm_loadh_pd(_mm_load_sd(tables[kFirstLane] + _mm_extract_epi16(phases, 2 * kFirstLane + 1)),
                      tables[kFirstLane + 1] + _mm_extract_epi16(phases, 2 * kFirstLane + 3));
}

// Four lane values from and to their vectors of pairs.
void LoadLanes(__m128d (&pairs)[kPairs], const double* lanes) {
  for (int pair = 0; pair < kPairs; ++pair) pairs[pair] = _mm_load_pd(lanes + 2 * pair);
}

void StoreLanes(const __m128d (&pairs)[kPairs], double* lanes) {
  for (int pair = 0; pair < kPairs; ++pair) _mm_store_pd(lanes + 2 * pair, pairs[pair]);
}

__m128i LoadInts(const std::int32_t* lanes) { return _mm_load_si128(reinterpret_cast<const __m128i*>(lanes)); }

void StoreInts(__m128i x, std::int32_t* lanes) { _mm_store_si128(reinterpret_cast<__m128i*>(lanes), x); }

}  // namespace

// One envelope of each of the four voices.
class VoiceGroupSse2::EnvelopeLanes {
 public:
  EnvelopeLanes(Voice* const* group, Envelope Voice::*member) : mLanes(group, member) { Load(); }

  // Envelope::Step in every lane; a lane that ends its attack or reaches zero
  // is stepped by the envelope itself, which knows what comes next. Which
  // stages the lanes are in holds until then, so tests that no lane needs are
  // left out.
  VORN_SSE2_INLINE void Step() {
    if (mSettled) return;
    __m128d next[kPairs];
    int special = 0;
    for (int p = 0; p < kPairs; ++p) {
      next[p] = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(mTarget[p], mLevel[p]), mCoefficient[p]), mLevel[p]);
      if (mAnyAttack) {
        special |= _mm_movemask_pd(_mm_and_pd(mAttack[p], _mm_cmpge_pd(next[p], _mm_set1_pd(1.0)))) << (2 * p);
      }
      if (mAnyFalling) {
        special |= _mm_movemask_pd(_mm_and_pd(mFalling[p], _mm_cmple_pd(next[p], _mm_setzero_pd()))) << (2 * p);
      }
    }
    if (special == 0) {
      for (int p = 0; p < kPairs; ++p) mLevel[p] = mAllActive ? next[p] : Blend(mLevel[p], next[p], mActive[p]);
    } else {
      StepChangingStage(next, special);
    }
  }

  // The lanes in special (bits) are stepped by their envelopes; the others
  // take next where active.
  __attribute__((noinline)) void StepChangingStage(const __m128d* next, int special) {
    Save();
    DoubleLanes level;
    for (int p = 0; p < kPairs; ++p) level.Store(p, Blend(mLevel[p], next[p], mActive[p]));
    mLanes.StepLanes(special, level.v);
    Load();
  }

  VORN_SSE2_INLINE __m128d Level(int pair) const { return mLevel[pair]; }
  // No lane's level or stage changes any more in this render.
  VORN_SSE2_INLINE bool Settled() const { return mSettled; }

  void Save() {
    StoreLanes(mLevel, mLanes.level);
    mLanes.Save();
  }

 private:
  void Load() {
    mLanes.Gather();
    LoadLanes(mLevel, mLanes.level);
    LoadLanes(mTarget, mLanes.target);
    LoadLanes(mCoefficient, mLanes.coefficient);
    for (int p = 0; p < kPairs; ++p) {
      mActive[p] = LaneMask(mLanes.active, p);
      mAttack[p] = LaneMask(mLanes.attack, p);
      mFalling[p] = _mm_andnot_pd(mAttack[p], mActive[p]);
    }
    mAllActive = true;
    mAnyAttack = false;
    mAnyFalling = false;
    mSettled = mLanes.settled;
    for (int p = 0; p < kPairs; ++p) {
      mAllActive = mAllActive && _mm_movemask_pd(mActive[p]) == 3;
      mAnyAttack = mAnyAttack || _mm_movemask_pd(mAttack[p]) != 0;
      mAnyFalling = mAnyFalling || _mm_movemask_pd(mFalling[p]) != 0;
    }
  }

  VoiceGroupEnvelopes mLanes;
  __m128d mLevel[kPairs], mTarget[kPairs], mCoefficient[kPairs], mActive[kPairs], mAttack[kPairs], mFalling[kPairs];
  bool mAllActive, mAnyAttack, mAnyFalling, mSettled;
};

// One group of four voices: their state in vectors while a block renders.
class VoiceGroupSse2::Lanes {
 public:
  explicit Lanes(Voice* const* group)
      : mState(group), mFilterEnvelope(group, &Voice::mFilterEnvelope), mAmpEnvelope(group, &Voice::mAmpEnvelope) {
    mPhase1 = LoadInts(mState.phase1);
    mPhase2 = LoadInts(mState.phase2);
    mIncrement1 = LoadInts(mState.increment1);
    mIncrement2 = LoadInts(mState.increment2);
    mSynced = LoadInts(mState.synced);
    mCachedIndex = LoadInts(mState.cachedIndex);
    mUpdates = LoadInts(mState.updates);
    LoadLanes(mEnvelopeAmount, mState.envelopeAmount);
    LoadLanes(mCutoff, mState.cutoff);
    LoadLanes(mLfoTerm, mState.lfoTerm);
    LoadLanes(mKeyTerm, mState.keyTerm);
    LoadLanes(mVelocityTerm, mState.velocityTerm);
    LoadLanes(mResonance, mState.resonance);
    LoadLanes(mVelocityFactor, mState.velocityFactor);
    LoadLanes(mB, mState.b);
    LoadLanes(mK, mState.k);
    LoadLanes(mC2, mState.c2);
    LoadLanes(mC4, mState.c4);
    LoadLanes(mFeedback, mState.feedback);
    LoadLanes(mS0, mState.s0);
    LoadLanes(mS1, mState.s1);
    LoadLanes(mS2, mState.s2);
    LoadLanes(mS3, mState.s3);
    LoadLanes(mOffset, mState.offset);
    mCutoffSettled = false;
  }

  // Voice::RenderSample in every lane, into out.
  VORN_SSE2_INLINE void Sample(bool stepEnvelopes, DoubleLanes& out) {
    __m128d sum[kPairs];
    NextOscillatorSums(sum);
    if (stepEnvelopes) {
      mFilterEnvelope.Step();
      mAmpEnvelope.Step();
    }
    // The cutoff index moves only with the filter envelope: once that has
    // settled, the index found after it did holds for the rest of the render.
    if (!mCutoffSettled) {
      UpdateCoefficients();
      mCutoffSettled = mFilterEnvelope.Settled();
    }
    for (int p = 0; p < kPairs; ++p) {
      out.Store(p, _mm_mul_pd(_mm_mul_pd(Filter(p, sum[p]), mVelocityFactor[p]), mAmpEnvelope.Level(p)));
    }
  }

  void Save() {
    mFilterEnvelope.Save();
    mAmpEnvelope.Save();
    StoreInts(mPhase1, mState.phase1);
    StoreInts(mPhase2, mState.phase2);
    StoreInts(mCachedIndex, mState.cachedIndex);
    StoreInts(mUpdates, mState.updates);
    StoreLanes(mB, mState.b);
    StoreLanes(mK, mState.k);
    StoreLanes(mC2, mState.c2);
    StoreLanes(mC4, mState.c4);
    StoreLanes(mFeedback, mState.feedback);
    StoreLanes(mS0, mState.s0);
    StoreLanes(mS1, mState.s1);
    StoreLanes(mS2, mState.s2);
    StoreLanes(mS3, mState.s3);
    StoreLanes(mOffset, mState.offset);
    mState.Save();
  }

 private:
  // OscillatorPair::Next in all four lanes.
  VORN_SSE2_INLINE void NextOscillatorSums(__m128d (&sum)[kPairs]) {
    sum[0] = _mm_add_pd(LookupPair<0>(mState.table1, mPhase1), LookupPair<0>(mState.table2, mPhase2));
    sum[1] = _mm_add_pd(LookupPair<2>(mState.table1, mPhase1), LookupPair<2>(mState.table2, mPhase2));
    const __m128i phaseMask = _mm_set1_epi32(kPhaseMask);
    const __m128i next1 = _mm_add_epi32(mPhase1, mIncrement1);
    const __m128i wrapped =
        _mm_xor_si128(_mm_cmpeq_epi32(_mm_srli_epi32(next1, kPhaseBits), _mm_setzero_si128()), _mm_set1_epi32(-1));
    mPhase2 = _mm_and_si128(_mm_add_epi32(mPhase2, mIncrement2), phaseMask);
    const int syncs = _mm_movemask_ps(_mm_castsi128_ps(_mm_and_si128(wrapped, mSynced)));
    if (syncs != 0) Sync(next1, syncs);
    mPhase1 = _mm_and_si128(next1, phaseMask);
  }

  // Oscillator 1 wrapped in the lanes of syncs (bits): oscillator 2 restarts.
  __attribute__((noinline)) void Sync(__m128i next1, int syncs) {
    IntLanes nextLanes, phase2Lanes;
    nextLanes.Store(next1);
    phase2Lanes.Store(mPhase2);
    mState.RestartSynced(syncs, nextLanes.v, phase2Lanes.v);
    mPhase2 = phase2Lanes.Load();
  }

  // The cutoff index of VoiceFilter::Process, and new coefficients where it changed.
  VORN_SSE2_INLINE void UpdateCoefficients() {
    __m128i pairIndex[kPairs];
    for (int p = 0; p < kPairs; ++p) {
      const __m128d modulated = _mm_add_pd(
          _mm_add_pd(
              _mm_add_pd(_mm_add_pd(_mm_mul_pd(mFilterEnvelope.Level(p), mEnvelopeAmount[p]), mCutoff[p]), mLfoTerm[p]),
              mKeyTerm[p]),
          mVelocityTerm[p]);
      pairIndex[p] = _mm_cvttpd_epi32(modulated);
    }
    const __m128i index = _mm_unpacklo_epi64(pairIndex[0], pairIndex[1]);
    const __m128i same = _mm_cmpeq_epi32(index, mCachedIndex);
    if (_mm_movemask_ps(_mm_castsi128_ps(same)) != (1 << kLanes) - 1) {
      ComputeCoefficients(index, _mm_xor_si128(same, _mm_set1_epi32(-1)));
    }
  }

  // VoiceFilter::ComputeCoefficients in the lanes whose cutoff index changed:
  // each lane's row of the table, a pair's rows transposed.
  __attribute__((noinline)) void ComputeCoefficients(__m128i index, __m128i changed) {
    IntLanes indexLanes;
    indexLanes.Store(index);
    const __m128d take[kPairs] = {_mm_castsi128_pd(_mm_unpacklo_epi32(changed, changed)),
                                  _mm_castsi128_pd(_mm_unpackhi_epi32(changed, changed))};
    for (int p = 0; p < kPairs; ++p) {
      const FilterCoefficients& first = mState.tables->Filter(indexLanes.v[2 * p]);
      const FilterCoefficients& second = mState.tables->Filter(indexLanes.v[2 * p + 1]);
      const __m128d bk0 = _mm_loadu_pd(&first.b), bk1 = _mm_loadu_pd(&second.b);
      const __m128d b = _mm_unpacklo_pd(bk0, bk1);
      mK[p] = Blend(mK[p], _mm_unpackhi_pd(bk0, bk1), take[p]);
      mB[p] = Blend(mB[p], b, take[p]);
      if (mState.smooth) {
        mFeedback[p] =
            Blend(mFeedback[p], _mm_mul_pd(mResonance[p], _mm_set1_pd(VoiceFilter::kSmoothFeedback)), take[p]);
        const __m128d b2 = _mm_mul_pd(b, b);
        mC4[p] = Blend(mC4[p], _mm_mul_pd(b2, b2), take[p]);
      } else {
        const __m128d c2c40 = _mm_loadu_pd(&first.c2), c2c41 = _mm_loadu_pd(&second.c2);
        mC2[p] = Blend(mC2[p], _mm_unpacklo_pd(c2c40, c2c41), take[p]);
        mC4[p] = Blend(mC4[p], _mm_unpackhi_pd(c2c40, c2c41), take[p]);
        mFeedback[p] =
            Blend(mFeedback[p], _mm_mul_pd(mResonance[p], _mm_set1_pd(VoiceFilter::kDirtyFeedback)), take[p]);
      }
    }
    mCachedIndex = index;
    mUpdates = _mm_sub_epi32(mUpdates, changed);
  }

  // The filtering of VoiceFilter::Process for one pair, its coefficients current.
  VORN_SSE2_INLINE __m128d Filter(int p, __m128d x) {
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d in = _mm_add_pd(x, mOffset[p]);
    mS0[p] = _mm_add_pd(mS0[p], mOffset[p]);
    mS1[p] = _mm_add_pd(mS1[p], mOffset[p]);
    mS2[p] = _mm_add_pd(mS2[p], mOffset[p]);
    mS3[p] = _mm_add_pd(mS3[p], mOffset[p]);
    mOffset[p] = _mm_xor_pd(mOffset[p], signBit);
    const __m128d b = mB[p];
    const __m128d k = mK[p];
    if (mState.smooth) {
      const __m128d estimate = _mm_add_pd(
          _mm_add_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(mS0[p], b), mS1[p]), b), mS2[p]), b),
                     mS3[p]),
          _mm_mul_pd(in, mC4[p]));
      const __m128d u = _mm_sub_pd(in, _mm_mul_pd(Clip(estimate), mFeedback[p]));
      const __m128d bu = _mm_mul_pd(b, u);
      const __m128d y1 = _mm_add_pd(mS0[p], bu);
      mS0[p] = _mm_sub_pd(bu, _mm_mul_pd(k, y1));
      const __m128d by1 = _mm_mul_pd(b, y1);
      const __m128d y2 = _mm_add_pd(mS1[p], by1);
      mS1[p] = _mm_sub_pd(by1, _mm_mul_pd(k, y2));
      const __m128d by2 = _mm_mul_pd(b, y2);
      const __m128d y3 = _mm_add_pd(mS2[p], by2);
      mS2[p] = _mm_sub_pd(by2, _mm_mul_pd(k, y3));
      const __m128d by3 = _mm_mul_pd(b, y3);
      const __m128d y4 = _mm_add_pd(mS3[p], by3);
      mS3[p] = _mm_sub_pd(by3, _mm_mul_pd(k, y4));
      return estimate;
    }
    const __m128d c2 = mC2[p];
    const __m128d bin = _mm_mul_pd(b, in);
    const __m128d t = _mm_add_pd(bin, mS0[p]);
    mS0[p] = _mm_sub_pd(bin, _mm_mul_pd(k, t));
    const __m128d estimate = _mm_add_pd(
        t, _mm_mul_pd(mFeedback[p], _mm_add_pd(_mm_add_pd(_mm_mul_pd(c2, mS1[p]), mS2[p]), _mm_mul_pd(mC4[p], t))));
    const __m128d v = _mm_mul_pd(b, Clip(estimate));
    const __m128d y = _mm_add_pd(mS1[p], v);
    mS1[p] = _mm_sub_pd(v, _mm_mul_pd(k, y));
    const __m128d q = _mm_add_pd(mS2[p], _mm_mul_pd(c2, y));
    mS2[p] = _mm_sub_pd(_mm_mul_pd(_mm_xor_pd(c2, signBit), y), _mm_mul_pd(k, q));
    return y;
  }

  VoiceGroupState mState;
  bool mCutoffSettled;
  EnvelopeLanes mFilterEnvelope;
  EnvelopeLanes mAmpEnvelope;
  __m128i mPhase1, mPhase2, mIncrement1, mIncrement2, mSynced, mCachedIndex, mUpdates;
  __m128d mEnvelopeAmount[kPairs], mCutoff[kPairs], mLfoTerm[kPairs], mKeyTerm[kPairs], mVelocityTerm[kPairs];
  __m128d mResonance[kPairs], mVelocityFactor[kPairs];
  __m128d mB[kPairs], mK[kPairs], mC2[kPairs], mC4[kPairs], mFeedback[kPairs];
  __m128d mS0[kPairs], mS1[kPairs], mS2[kPairs], mS3[kPairs], mOffset[kPairs];
};

namespace {

// The samples of kGroups groups side by side: independent dependency chains
// that the processor overlaps. Every voice adds into mix[i] in group order.
template <int kGroups, typename Lanes, std::size_t... kGroup>
VORN_SSE2_INLINE void RenderSideBySide(Voice* const* groups, double* mix, int n, std::index_sequence<kGroup...>) {
  Lanes lanes[kGroups] = {Lanes(groups + kGroup * kLanes)...};
  DoubleLanes out[kGroups];
  for (int i = 0; i < n; ++i) {
    for (int g = 0; g < kGroups; ++g) lanes[g].Sample(i > 0, out[g]);
    double total = mix[i];
    for (const DoubleLanes& group : out) {
      for (int lane = 0; lane < kLanes; ++lane) total += group.v[lane];
    }
    mix[i] = total;
  }
  for (Lanes& group : lanes) group.Save();
}

}  // namespace

void VoiceGroupSse2::Render(Voice* const* groups, int count, double* mix, int n) {
  if (count == 1) {
    RenderSideBySide<1, Lanes>(groups, mix, n, std::make_index_sequence<1>());
  } else {
    RenderSideBySide<2, Lanes>(groups, mix, n, std::make_index_sequence<2>());
  }
}
