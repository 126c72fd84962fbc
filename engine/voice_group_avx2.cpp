#include "engine/voice_group_avx2.h"

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/voice.h"
#include "engine/voice_group_state.h"

// Only the functions below use AVX2: everything else in this file, the
// engine's inline functions included, stays plain x86 code, so no AVX2
// instruction can reach a processor without it through a shared copy.
#define VORN_AVX2 __attribute__((target("avx2")))
#define VORN_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

namespace {

constexpr int kLanes = 4;
constexpr int kTableEntryShift = 16;

// Lane values move between vectors and the voices through these.
struct alignas(32) DoubleLanes {
  double v[kLanes];
  VORN_AVX2_INLINE __m256d Load() const { return _mm256_load_pd(v); }
  VORN_AVX2_INLINE void Store(__m256d x) { _mm256_store_pd(v, x); }
};

VORN_AVX2 __m256d LaneMask(const bool* lanes) {
  return _mm256_castsi256_pd(_mm256_setr_epi64x(-std::int64_t{lanes[0]}, -std::int64_t{lanes[1]},
                                                -std::int64_t{lanes[2]}, -std::int64_t{lanes[3]}));
}

// Clip(x) = x < -1 ? -1 : (x > 1 ? 1 : x). minpd and maxpd return their second
// operand unless the first compares as less or greater, so NaN passes through
// as in the scalar code.
VORN_AVX2_INLINE __m256d Clip(__m256d x) {
  return _mm256_max_pd(_mm256_set1_pd(-1.0), _mm256_min_pd(_mm256_set1_pd(1.0), x));
}

// Reads wave-table entries phase >> 16 of four tables. Four plain loads are
// quicker than a gather on many processors.
VORN_AVX2_INLINE __m256d Lookup(const double* const* tables, const std::int32_t* phases) {
  const auto entry = [](std::int32_t phase) { return static_cast<std::uint32_t>(phase) >> kTableEntryShift; };
  const __m128d low = _mm_loadh_pd(_mm_load_sd(tables[0] + entry(phases[0])), tables[1] + entry(phases[1]));
  const __m128d high = _mm_loadh_pd(_mm_load_sd(tables[2] + entry(phases[2])), tables[3] + entry(phases[3]));
  return _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1);
}

VORN_AVX2_INLINE __m128i LoadInts(const std::int32_t* lanes) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
}

VORN_AVX2_INLINE void StoreInts(__m128i x, std::int32_t* lanes) {
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), x);
}

}  // namespace

// One envelope of each of the four voices.
class VoiceGroupAvx2::EnvelopeLanes {
 public:
  VORN_AVX2 EnvelopeLanes(Voice* const* group, Envelope Voice::*member) : mLanes(group, member) { Load(); }

  // Envelope::Step in every lane; a lane that ends its attack or reaches zero
  // is stepped by the envelope itself, which knows what comes next. Which
  // stages the lanes are in holds until then, so tests that no lane needs are
  // left out.
  VORN_AVX2_INLINE void Step() {
    if (mSettled) return;
    const __m256d next = _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(mTarget, mLevel), mCoefficient), mLevel);
    int special = 0;
    if (mAnyAttack) {
      special = _mm256_movemask_pd(_mm256_and_pd(mAttack, _mm256_cmp_pd(next, _mm256_set1_pd(1.0), _CMP_GE_OQ)));
    }
    if (mAnyFalling) {
      special |= _mm256_movemask_pd(_mm256_and_pd(mFalling, _mm256_cmp_pd(next, _mm256_setzero_pd(), _CMP_LE_OQ)));
    }
    if (special == 0) {
      mLevel = mAllActive ? next : _mm256_blendv_pd(mLevel, next, mActive);
    } else {
      StepChangingStage(next, special);
    }
  }

  // The lanes in special (bits) are stepped by their envelopes; the others
  // take next where active.
  VORN_AVX2 __attribute__((noinline)) void StepChangingStage(__m256d next, int special) {
    Save();
    DoubleLanes level;
    level.Store(_mm256_blendv_pd(mLevel, next, mActive));
    mLanes.StepLanes(special, level.v);
    Load();
  }

  VORN_AVX2_INLINE __m256d Level() const { return mLevel; }
  // No lane's level or stage changes any more in this render.
  VORN_AVX2_INLINE bool Settled() const { return mSettled; }

  VORN_AVX2 void Save() {
    _mm256_store_pd(mLanes.level, mLevel);
    mLanes.Save();
  }

 private:
  VORN_AVX2 void Load() {
    mLanes.Gather();
    mLevel = _mm256_load_pd(mLanes.level);
    mTarget = _mm256_load_pd(mLanes.target);
    mCoefficient = _mm256_load_pd(mLanes.coefficient);
    mActive = LaneMask(mLanes.active);
    mAttack = LaneMask(mLanes.attack);
    mFalling = _mm256_andnot_pd(mAttack, mActive);
    mAllActive = _mm256_movemask_pd(mActive) == (1 << kLanes) - 1;
    mAnyAttack = _mm256_movemask_pd(mAttack) != 0;
    mAnyFalling = _mm256_movemask_pd(mFalling) != 0;
    mSettled = mLanes.settled;
  }

  VoiceGroupEnvelopes mLanes;
  __m256d mLevel, mTarget, mCoefficient, mActive, mAttack, mFalling;
  bool mAllActive, mAnyAttack, mAnyFalling, mSettled;
};

// One group of four voices: their state in vectors while a block renders.
class VoiceGroupAvx2::Lanes {
 public:
  VORN_AVX2_INLINE explicit Lanes(Voice* const* group)
      : mState(group), mFilterEnvelope(group, &Voice::mFilterEnvelope), mAmpEnvelope(group, &Voice::mAmpEnvelope) {
    mFilterTable = mState.tables->FilterTable();
    mCachedIndex = LoadInts(mState.cachedIndex);
    mUpdates = LoadInts(mState.updates);
    mEnvelopeAmount = _mm256_load_pd(mState.envelopeAmount);
    mCutoff = _mm256_load_pd(mState.cutoff);
    mLfoTerm = _mm256_load_pd(mState.lfoTerm);
    mKeyTerm = _mm256_load_pd(mState.keyTerm);
    mVelocityTerm = _mm256_load_pd(mState.velocityTerm);
    mResonance = _mm256_load_pd(mState.resonance);
    mVelocityFactor = _mm256_load_pd(mState.velocityFactor);
    mB = _mm256_load_pd(mState.b);
    mK = _mm256_load_pd(mState.k);
    mC2 = _mm256_load_pd(mState.c2);
    mC4 = _mm256_load_pd(mState.c4);
    mFeedback = _mm256_load_pd(mState.feedback);
    mS0 = _mm256_load_pd(mState.s0);
    mS1 = _mm256_load_pd(mState.s1);
    mS2 = _mm256_load_pd(mState.s2);
    mS3 = _mm256_load_pd(mState.s3);
    mOffset = _mm256_load_pd(mState.offset);
    mCutoffSettled = false;
    LookAhead();
  }

  // Voice::RenderSample in every lane, for the filter mode of kSmooth. kSteady:
  // both envelopes have settled and the cutoff index is current, so neither
  // they nor the coefficients can change and their work is left out.
  //
  // The filter envelope runs a sample ahead: its step and the cutoff index of
  // the next sample are worked out after this one's filtering. A change of the
  // index is a branch no processor predicts well; with its outcome known as
  // soon as it is reached, a misprediction costs little, where otherwise it
  // would throw away the overlapped filtering of every group. lookAhead is
  // false for the last sample of a render: the envelope steps no further.
  template <bool kSmooth, bool kSteady>
  VORN_AVX2_INLINE __m256d Sample(bool stepAmpEnvelope, bool lookAhead) {
    const __m256d sum = NextOscillatorSum();
    if (kSteady) return Output(Filter<kSmooth>(sum));
    if (stepAmpEnvelope) mAmpEnvelope.Step();
    // The cutoff index moves only with the filter envelope: once that has
    // settled, the index found after it did holds for the rest of the render.
    if (!mCutoffSettled) {
      UpdateCoefficients<kSmooth>(mNextIndex);
      mCutoffSettled = mNextSettled;
    }
    const __m256d out = Output(Filter<kSmooth>(sum));
    if (lookAhead) {
      mFilterEnvelope.Step();
      LookAhead();
    }
    return out;
  }

  VORN_AVX2_INLINE bool Smooth() const { return mState.smooth; }
  // Whether the samples after the first can be rendered steady.
  VORN_AVX2_INLINE bool SteadyAfterFirstSample() const { return mFilterEnvelope.Settled() && mAmpEnvelope.Settled(); }

  VORN_AVX2 void Save() {
    mFilterEnvelope.Save();
    mAmpEnvelope.Save();
    StoreInts(mCachedIndex, mState.cachedIndex);
    StoreInts(mUpdates, mState.updates);
    _mm256_store_pd(mState.b, mB);
    _mm256_store_pd(mState.k, mK);
    _mm256_store_pd(mState.c2, mC2);
    _mm256_store_pd(mState.c4, mC4);
    _mm256_store_pd(mState.feedback, mFeedback);
    _mm256_store_pd(mState.s0, mS0);
    _mm256_store_pd(mState.s1, mS1);
    _mm256_store_pd(mState.s2, mS2);
    _mm256_store_pd(mState.s3, mS3);
    _mm256_store_pd(mState.offset, mOffset);
    mState.Save();
  }

 private:
  // OscillatorPair::Next. The phases stay in general registers: the vector
  // units have the most work, the lookups need the positions there anyway,
  // and a hard-sync wrap in one lane is a branch for that lane alone.
  VORN_AVX2_INLINE __m256d NextOscillatorSum() {
    const __m256d sum = _mm256_add_pd(Lookup(mState.table1, mState.phase1), Lookup(mState.table2, mState.phase2));
#pragma GCC unroll 4
    for (int lane = 0; lane < kLanes; ++lane) AdvancePhases(lane);
    return sum;
  }

  VORN_AVX2_INLINE void AdvancePhases(int lane) {
    const std::uint32_t next1 =
        static_cast<std::uint32_t>(mState.phase1[lane]) + static_cast<std::uint32_t>(mState.increment1[lane]);
    if (next1 > static_cast<std::uint32_t>(kPhaseMask) && mState.synced[lane]) {
      mState.phase2[lane] = OscillatorPair::SyncedPhase(next1, mState.syncRatio[lane]);
    } else {
      mState.phase2[lane] = static_cast<std::int32_t>(
          (static_cast<std::uint32_t>(mState.phase2[lane]) + static_cast<std::uint32_t>(mState.increment2[lane])) &
          static_cast<std::uint32_t>(kPhaseMask));
    }
    mState.phase1[lane] = static_cast<std::int32_t>(next1 & static_cast<std::uint32_t>(kPhaseMask));
  }

  VORN_AVX2_INLINE __m256d Output(__m256d filtered) const {
    return _mm256_mul_pd(_mm256_mul_pd(filtered, mVelocityFactor), mAmpEnvelope.Level());
  }

  // The cutoff index of VoiceFilter::Process at the filter envelope's level,
  // and whether the envelope has settled there, for the next sample.
  VORN_AVX2_INLINE void LookAhead() {
    if (mCutoffSettled) return;
    const __m256d modulated = _mm256_add_pd(
        _mm256_add_pd(
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(mFilterEnvelope.Level(), mEnvelopeAmount), mCutoff), mLfoTerm),
            mKeyTerm),
        mVelocityTerm);
    mNextIndex = _mm256_cvttpd_epi32(modulated);
    mNextSettled = mFilterEnvelope.Settled();
  }

  // New coefficients where the cutoff index changed.
  template <bool kSmooth>
  VORN_AVX2_INLINE void UpdateCoefficients(__m128i index) {
    const __m128i same = _mm_cmpeq_epi32(index, mCachedIndex);
    if (_mm_movemask_ps(_mm_castsi128_ps(same)) != (1 << kLanes) - 1) {
      ComputeCoefficients<kSmooth>(index, _mm_xor_si128(same, _mm_set1_epi32(-1)));
    }
  }

  // The filtering of VoiceFilter::Process, its coefficients current.
  template <bool kSmooth>
  VORN_AVX2_INLINE __m256d Filter(__m256d x) {
    const __m256d signBit = _mm256_set1_pd(-0.0);
    const __m256d in = _mm256_add_pd(x, mOffset);
    mS0 = _mm256_add_pd(mS0, mOffset);
    mS1 = _mm256_add_pd(mS1, mOffset);
    mS2 = _mm256_add_pd(mS2, mOffset);
    mS3 = _mm256_add_pd(mS3, mOffset);
    mOffset = _mm256_xor_pd(mOffset, signBit);
    if (kSmooth) {
      const __m256d estimate = _mm256_add_pd(
          _mm256_add_pd(
              _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(mS0, mB), mS1), mB), mS2), mB),
              mS3),
          _mm256_mul_pd(in, mC4));
      const __m256d u = _mm256_sub_pd(in, _mm256_mul_pd(Clip(estimate), mFeedback));
      const __m256d bu = _mm256_mul_pd(mB, u);
      const __m256d y1 = _mm256_add_pd(mS0, bu);
      mS0 = _mm256_sub_pd(bu, _mm256_mul_pd(mK, y1));
      const __m256d by1 = _mm256_mul_pd(mB, y1);
      const __m256d y2 = _mm256_add_pd(mS1, by1);
      mS1 = _mm256_sub_pd(by1, _mm256_mul_pd(mK, y2));
      const __m256d by2 = _mm256_mul_pd(mB, y2);
      const __m256d y3 = _mm256_add_pd(mS2, by2);
      mS2 = _mm256_sub_pd(by2, _mm256_mul_pd(mK, y3));
      const __m256d by3 = _mm256_mul_pd(mB, y3);
      const __m256d y4 = _mm256_add_pd(mS3, by3);
      mS3 = _mm256_sub_pd(by3, _mm256_mul_pd(mK, y4));
      return estimate;
    }
    const __m256d bin = _mm256_mul_pd(mB, in);
    const __m256d t = _mm256_add_pd(bin, mS0);
    mS0 = _mm256_sub_pd(bin, _mm256_mul_pd(mK, t));
    const __m256d estimate = _mm256_add_pd(
        t, _mm256_mul_pd(mFeedback, _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(mC2, mS1), mS2), _mm256_mul_pd(mC4, t))));
    const __m256d v = _mm256_mul_pd(mB, Clip(estimate));
    const __m256d y = _mm256_add_pd(mS1, v);
    mS1 = _mm256_sub_pd(v, _mm256_mul_pd(mK, y));
    const __m256d p = _mm256_add_pd(mS2, _mm256_mul_pd(mC2, y));
    mS2 = _mm256_sub_pd(_mm256_mul_pd(_mm256_xor_pd(mC2, signBit), y), _mm256_mul_pd(mK, p));
    return y;
  }

  // VoiceFilter::ComputeCoefficients in the lanes whose cutoff index changed:
  // each lane's row of the table, transposed.
  template <bool kSmooth>
  VORN_AVX2_INLINE void ComputeCoefficients(__m128i index, __m128i changed) {
    const __m128i row = _mm_min_epi32(_mm_max_epi32(index, _mm_setzero_si128()), _mm_set1_epi32(kMaxPitchIndex));
    const __m256d r0 = _mm256_loadu_pd(&mFilterTable[_mm_cvtsi128_si32(row)].b);
    const __m256d r1 = _mm256_loadu_pd(&mFilterTable[_mm_extract_epi32(row, 1)].b);
    const __m256d r2 = _mm256_loadu_pd(&mFilterTable[_mm_extract_epi32(row, 2)].b);
    const __m256d r3 = _mm256_loadu_pd(&mFilterTable[_mm_extract_epi32(row, 3)].b);
    // b and c2 of lanes 0 and 1, then of 2 and 3; k and c4 likewise.
    const __m256d bc2Low = _mm256_unpacklo_pd(r0, r1), bc2High = _mm256_unpacklo_pd(r2, r3);
    const __m256d kc4Low = _mm256_unpackhi_pd(r0, r1), kc4High = _mm256_unpackhi_pd(r2, r3);
    const __m256d b = _mm256_permute2f128_pd(bc2Low, bc2High, 0x20);
    const __m256d take = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(changed));
    mK = _mm256_blendv_pd(mK, _mm256_permute2f128_pd(kc4Low, kc4High, 0x20), take);
    mB = _mm256_blendv_pd(mB, b, take);
    if (kSmooth) {
      mFeedback =
          _mm256_blendv_pd(mFeedback, _mm256_mul_pd(mResonance, _mm256_set1_pd(VoiceFilter::kSmoothFeedback)), take);
      const __m256d b2 = _mm256_mul_pd(b, b);
      mC4 = _mm256_blendv_pd(mC4, _mm256_mul_pd(b2, b2), take);
    } else {
      mC2 = _mm256_blendv_pd(mC2, _mm256_permute2f128_pd(bc2Low, bc2High, 0x31), take);
      mC4 = _mm256_blendv_pd(mC4, _mm256_permute2f128_pd(kc4Low, kc4High, 0x31), take);
      mFeedback =
          _mm256_blendv_pd(mFeedback, _mm256_mul_pd(mResonance, _mm256_set1_pd(VoiceFilter::kDirtyFeedback)), take);
    }
    mCachedIndex = index;
    mUpdates = _mm_sub_epi32(mUpdates, changed);
  }

  VoiceGroupState mState;
  bool mCutoffSettled;
  bool mNextSettled;
  const FilterCoefficients* mFilterTable;
  EnvelopeLanes mFilterEnvelope;
  EnvelopeLanes mAmpEnvelope;
  __m128i mCachedIndex, mUpdates, mNextIndex;
  __m256d mEnvelopeAmount, mCutoff, mLfoTerm, mKeyTerm, mVelocityTerm, mResonance, mVelocityFactor;
  __m256d mB, mK, mC2, mC4, mFeedback, mS0, mS1, mS2, mS3, mOffset;
};

namespace {

// Adds the voices of one group to four consecutive mix samples. rows[s] holds
// sample s of the four voices; after the transpose, voice[l] holds voice l's
// four samples, so each add serves four samples and every sample still gets
// its voices added one by one in lane order.
VORN_AVX2_INLINE __m256d AddGroup(__m256d total, const DoubleLanes* rows) {
  const __m256d r0 = rows[0].Load(), r1 = rows[1].Load(), r2 = rows[2].Load(), r3 = rows[3].Load();
  const __m256d low01 = _mm256_unpacklo_pd(r0, r1), high01 = _mm256_unpackhi_pd(r0, r1);
  const __m256d low23 = _mm256_unpacklo_pd(r2, r3), high23 = _mm256_unpackhi_pd(r2, r3);
  total = _mm256_add_pd(total, _mm256_permute2f128_pd(low01, low23, 0x20));
  total = _mm256_add_pd(total, _mm256_permute2f128_pd(high01, high23, 0x20));
  total = _mm256_add_pd(total, _mm256_permute2f128_pd(low01, low23, 0x31));
  return _mm256_add_pd(total, _mm256_permute2f128_pd(high01, high23, 0x31));
}

// Sample i of every group, summed into mix[i] one voice after another.
template <bool kSmooth, int kGroups, int kSpan, typename Lanes>
VORN_AVX2_INLINE void RenderOne(Lanes* lanes, DoubleLanes (&out)[kGroups][kSpan], double* mix, int i, int n) {
  for (int g = 0; g < kGroups; ++g) out[g][0].Store(lanes[g].template Sample<kSmooth, false>(i > 0, i + 1 < n));
  double total = mix[i];
  for (const DoubleLanes* rows : out) {
    for (int lane = 0; lane < kLanes; ++lane) total += rows[0].v[lane];
  }
  mix[i] = total;
}

// The samples of kGroups groups side by side: independent dependency chains
// that the processor overlaps. Every voice adds into mix[i] in group order;
// the sums run over four samples at a time.
template <bool kSmooth, bool kSteady, int kGroups, typename Lanes>
VORN_AVX2_INLINE void RenderSideBySide(Lanes* lanes, double* mix, int n) {
  constexpr int kSpan = 4;
  DoubleLanes out[kGroups][kSpan];
  // The first sample alone does not step the envelopes: rendered on its own,
  // it leaves that test out of the loop over spans, and it brings the cutoff
  // index of steady groups up to date.
  if (n > 0) RenderOne<kSmooth>(lanes, out, mix, 0, n);
  int i = 1;
  // The last sample is left to the tail, so every sample of a span looks ahead.
  for (; i + kSpan < n; i += kSpan) {
    for (int s = 0; s < kSpan; ++s) {
#pragma GCC unroll 4
      for (int g = 0; g < kGroups; ++g) out[g][s].Store(lanes[g].template Sample<kSmooth, kSteady>(true, true));
    }
    __m256d total = _mm256_loadu_pd(mix + i);
    for (const DoubleLanes* rows : out) total = AddGroup(total, rows);
    _mm256_storeu_pd(mix + i, total);
  }
  for (; i < n; ++i) RenderOne<kSmooth>(lanes, out, mix, i, n);
}

template <int kGroups, typename Lanes>
VORN_AVX2 void RenderInMode(Lanes* lanes, double* mix, int n) {
  bool steady = true;
  for (int g = 0; g < kGroups; ++g) steady = steady && lanes[g].SteadyAfterFirstSample();
  const bool smooth = lanes[0].Smooth();
  if (smooth) {
    steady ? RenderSideBySide<true, true, kGroups>(lanes, mix, n)
           : RenderSideBySide<true, false, kGroups>(lanes, mix, n);
  } else {
    steady ? RenderSideBySide<false, true, kGroups>(lanes, mix, n)
           : RenderSideBySide<false, false, kGroups>(lanes, mix, n);
  }
}

// Groups in different filter modes render one after another: every mix
// sample still gets its voices in the same order.
template <int kGroups, typename Lanes, std::size_t... kGroup>
VORN_AVX2_INLINE void Render(Voice* const* groups, double* mix, int n, std::index_sequence<kGroup...>) {
  Lanes lanes[kGroups] = {Lanes(groups + kGroup * kLanes)...};
  bool sameMode = true;
  for (const Lanes& group : lanes) sameMode = sameMode && group.Smooth() == lanes[0].Smooth();
  if (sameMode) {
    RenderInMode<kGroups>(lanes, mix, n);
  } else {
    for (Lanes& group : lanes) RenderInMode<1>(&group, mix, n);
  }
  for (Lanes& group : lanes) group.Save();
}

}  // namespace

VORN_AVX2 void VoiceGroupAvx2::Render(Voice* const* groups, int count, double* mix, int n) {
  switch (count) {
    case 1: ::Render<1, Lanes>(groups, mix, n, std::make_index_sequence<1>()); break;
    case 2: ::Render<2, Lanes>(groups, mix, n, std::make_index_sequence<2>()); break;
    case 3: ::Render<3, Lanes>(groups, mix, n, std::make_index_sequence<3>()); break;
    default: ::Render<4, Lanes>(groups, mix, n, std::make_index_sequence<4>()); break;
  }
}
