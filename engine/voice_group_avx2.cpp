#include "engine/voice_group_avx2.h"

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/voice.h"

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

struct alignas(16) IntLanes {
  std::int32_t v[kLanes];
  VORN_AVX2 __m128i Load() const { return _mm_load_si128(reinterpret_cast<const __m128i*>(v)); }
  VORN_AVX2 void Store(__m128i x) { _mm_store_si128(reinterpret_cast<__m128i*>(v), x); }
};

VORN_AVX2 __m256d LaneMask(bool a, bool b, bool c, bool d) {
  return _mm256_castsi256_pd(
      _mm256_setr_epi64x(-std::int64_t{a}, -std::int64_t{b}, -std::int64_t{c}, -std::int64_t{d}));
}

// Clip(x) = x < -1 ? -1 : (x > 1 ? 1 : x). minpd and maxpd return their second
// operand unless the first compares as less or greater, so NaN passes through
// as in the scalar code.
VORN_AVX2_INLINE __m256d Clip(__m256d x) {
  return _mm256_max_pd(_mm256_set1_pd(-1.0), _mm256_min_pd(_mm256_set1_pd(1.0), x));
}

// Reads wave-table entries phase >> 16 of four tables. Four plain loads are
// quicker than a gather on many processors.
VORN_AVX2_INLINE __m256d Lookup(const double* const* tables, __m128i phases) {
  const __m128i entries = _mm_srli_epi32(phases, kTableEntryShift);
  const __m128d low =
      _mm_loadh_pd(_mm_load_sd(tables[0] + _mm_cvtsi128_si32(entries)), tables[1] + _mm_extract_epi32(entries, 1));
  const __m128d high =
      _mm_loadh_pd(_mm_load_sd(tables[2] + _mm_extract_epi32(entries, 2)), tables[3] + _mm_extract_epi32(entries, 3));
  return _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1);
}

// One value per lane, computed without vector instructions.
template <typename Get>
VORN_AVX2 __m256d LaneValues(Get get) {
  DoubleLanes lanes;
  for (int lane = 0; lane < kLanes; ++lane) lanes.v[lane] = get(lane);
  return lanes.Load();
}

}  // namespace

// One envelope of each of the four voices.
class VoiceGroupAvx2::EnvelopeLanes {
 public:
  VORN_AVX2 EnvelopeLanes(Voice* const* group, Envelope Voice::*member) : mGroup(group), mMember(member) { Load(); }

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
    for (int lane = 0; lane < kLanes; ++lane) {
      Envelope& envelope = mGroup[lane]->*mMember;
      if (special & (1 << lane)) envelope.Step();
    }
    DoubleLanes level;
    level.Store(_mm256_blendv_pd(mLevel, next, mActive));
    for (int lane = 0; lane < kLanes; ++lane) {
      if (!(special & (1 << lane))) (mGroup[lane]->*mMember).mLevel = level.v[lane];
    }
    Load();
  }

  VORN_AVX2_INLINE __m256d Level() const { return mLevel; }
  // No lane's level or stage changes any more in this render.
  VORN_AVX2_INLINE bool Settled() const { return mSettled; }

  VORN_AVX2 void Save() const {
    DoubleLanes level;
    level.Store(mLevel);
    for (int lane = 0; lane < kLanes; ++lane) (mGroup[lane]->*mMember).mLevel = level.v[lane];
  }

 private:
  VORN_AVX2 void Load() {
    const Envelope& e0 = mGroup[0]->*mMember;
    const Envelope& e1 = mGroup[1]->*mMember;
    const Envelope& e2 = mGroup[2]->*mMember;
    const Envelope& e3 = mGroup[3]->*mMember;
    mLevel = _mm256_setr_pd(e0.mLevel, e1.mLevel, e2.mLevel, e3.mLevel);
    mTarget = _mm256_setr_pd(e0.mTarget, e1.mTarget, e2.mTarget, e3.mTarget);
    mCoefficient = _mm256_setr_pd(e0.mCoefficient, e1.mCoefficient, e2.mCoefficient, e3.mCoefficient);
    mActive = LaneMask(e0.mStage != Envelope::kIdle, e1.mStage != Envelope::kIdle, e2.mStage != Envelope::kIdle,
                       e3.mStage != Envelope::kIdle);
    mAttack = LaneMask(e0.mStage == Envelope::kAttack, e1.mStage == Envelope::kAttack, e2.mStage == Envelope::kAttack,
                       e3.mStage == Envelope::kAttack);
    mFalling = _mm256_andnot_pd(mAttack, mActive);
    mAllActive = _mm256_movemask_pd(mActive) == (1 << kLanes) - 1;
    mAnyAttack = _mm256_movemask_pd(mAttack) != 0;
    mAnyFalling = _mm256_movemask_pd(mFalling) != 0;
    mSettled = e0.IsSettled() && e1.IsSettled() && e2.IsSettled() && e3.IsSettled();
  }

  Voice* const* mGroup;
  Envelope Voice::*mMember;
  __m256d mLevel, mTarget, mCoefficient, mActive, mAttack, mFalling;
  bool mAllActive, mAnyAttack, mAnyFalling, mSettled;
};

bool VoiceGroupAvx2::CanRender(Voice* const* group) {
  const VoiceFilter& first = group[0]->mFilter;
  for (int lane = 1; lane < kLanes; ++lane) {
    const VoiceFilter& filter = group[lane]->mFilter;
    if (filter.mMode != first.mMode || filter.mTables != first.mTables) return false;
  }
  return true;
}

// One group of four voices: their state in vectors while a block renders.
class VoiceGroupAvx2::Lanes {
 public:
  VORN_AVX2_INLINE explicit Lanes(Voice* const* group)
      : mFilterEnvelope(group, &Voice::mFilterEnvelope), mAmpEnvelope(group, &Voice::mAmpEnvelope) {
    for (int lane = 0; lane < kLanes; ++lane) {
      mOsc[lane] = &group[lane]->mOscillators;
      mFilter[lane] = &group[lane]->mFilter;
    }
    OscillatorPair* const* osc = mOsc;
    VoiceFilter* const* filter = mFilter;
    mSmooth = filter[0]->mMode == VoiceFilter::kSmooth;
    mCutoffTable = filter[0]->mTables->CutoffTable();

    IntLanes phase1Lanes, phase2Lanes, increment1Lanes, increment2Lanes, syncLanes, indexLanes;
    for (int lane = 0; lane < kLanes; ++lane) {
      phase1Lanes.v[lane] = osc[lane]->mPhase1;
      phase2Lanes.v[lane] = osc[lane]->mPhase2;
      increment1Lanes.v[lane] = osc[lane]->mIncrement1;
      increment2Lanes.v[lane] = osc[lane]->mIncrement2;
      syncLanes.v[lane] = osc[lane]->mSync ? -1 : 0;
      indexLanes.v[lane] = filter[lane]->mCachedIndex;
      mTable1[lane] = osc[lane]->mTable1;
      mTable2[lane] = osc[lane]->mTable2;
    }
    mPhase1 = phase1Lanes.Load();
    mPhase2 = phase2Lanes.Load();
    mIncrement1 = increment1Lanes.Load();
    mIncrement2 = increment2Lanes.Load();
    mSynced = syncLanes.Load();
    mCachedIndex = indexLanes.Load();

    // The modulation terms other than the envelope's hold for the block.
    mEnvelopeAmount = LaneValues([&](int l) { return filter[l]->mEnvelopeAmount; });
    mCutoff = LaneValues([&](int l) { return filter[l]->mCurrentCutoff; });
    mLfoTerm = LaneValues([&](int l) { return *filter[l]->mInputs.lfo * filter[l]->mLfoAmount; });
    mKeyTerm = LaneValues([&](int l) { return *filter[l]->mInputs.key * filter[l]->mKeyAmount; });
    mVelocityTerm = LaneValues([&](int l) { return *filter[l]->mInputs.velocity * filter[l]->mVelocityAmount; });
    mResonance = LaneValues([&](int l) { return filter[l]->mResonance; });
    mVelocityFactor = LaneValues([&](int l) { return group[l]->mVelocityFactor; });
    mB = LaneValues([&](int l) { return filter[l]->mB; });
    mK = LaneValues([&](int l) { return filter[l]->mK; });
    mC2 = LaneValues([&](int l) { return filter[l]->mC2; });
    mC4 = LaneValues([&](int l) { return filter[l]->mC4; });
    mFeedback = LaneValues([&](int l) { return filter[l]->mFeedbackGain; });
    mS0 = LaneValues([&](int l) { return filter[l]->mS0; });
    mS1 = LaneValues([&](int l) { return filter[l]->mS1; });
    mS2 = LaneValues([&](int l) { return filter[l]->mS2; });
    mS3 = LaneValues([&](int l) { return filter[l]->mS3; });
    mOffset = LaneValues([&](int l) { return filter[l]->mDenormalOffset; });
    mUpdates = _mm_setzero_si128();
    mCutoffSettled = false;
  }

  // Voice::RenderSample in every lane.
  VORN_AVX2_INLINE __m256d Sample(bool stepEnvelopes) {
    const __m256d sum = NextOscillatorSum();
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
    return _mm256_mul_pd(_mm256_mul_pd(Filter(sum), mVelocityFactor), mAmpEnvelope.Level());
  }

  VORN_AVX2 void Save() {
    mFilterEnvelope.Save();
    mAmpEnvelope.Save();
    IntLanes phase1Lanes, phase2Lanes, indexLanes, updateLanes;
    phase1Lanes.Store(mPhase1);
    phase2Lanes.Store(mPhase2);
    indexLanes.Store(mCachedIndex);
    updateLanes.Store(mUpdates);
    DoubleLanes b, k, c2, c4, feedback, s0, s1, s2, s3, offset;
    b.Store(mB);
    k.Store(mK);
    c2.Store(mC2);
    c4.Store(mC4);
    feedback.Store(mFeedback);
    s0.Store(mS0);
    s1.Store(mS1);
    s2.Store(mS2);
    s3.Store(mS3);
    offset.Store(mOffset);
    for (int lane = 0; lane < kLanes; ++lane) {
      mOsc[lane]->mPhase1 = phase1Lanes.v[lane];
      mOsc[lane]->mPhase2 = phase2Lanes.v[lane];
      VoiceFilter& f = *mFilter[lane];
      f.mB = b.v[lane];
      f.mK = k.v[lane];
      f.mC2 = c2.v[lane];
      f.mC4 = c4.v[lane];
      f.mFeedbackGain = feedback.v[lane];
      f.mS0 = s0.v[lane];
      f.mS1 = s1.v[lane];
      f.mS2 = s2.v[lane];
      f.mS3 = s3.v[lane];
      f.mDenormalOffset = offset.v[lane];
      f.mCachedIndex = indexLanes.v[lane];
      f.mCoefficientUpdates += updateLanes.v[lane];
    }
  }

 private:
  // OscillatorPair::Next.
  VORN_AVX2_INLINE __m256d NextOscillatorSum() {
    const __m256d sum = _mm256_add_pd(Lookup(mTable1, mPhase1), Lookup(mTable2, mPhase2));
    const __m128i phaseMask = _mm_set1_epi32(kPhaseMask);
    const __m128i next1 = _mm_add_epi32(mPhase1, mIncrement1);
    const __m128i wrapped =
        _mm_xor_si128(_mm_cmpeq_epi32(_mm_srli_epi32(next1, 28), _mm_setzero_si128()), _mm_set1_epi32(-1));
    mPhase2 = _mm_and_si128(_mm_add_epi32(mPhase2, mIncrement2), phaseMask);
    const int syncs = _mm_movemask_ps(_mm_castsi128_ps(_mm_and_si128(wrapped, mSynced)));
    if (syncs != 0) Sync(next1, syncs);
    mPhase1 = _mm_and_si128(next1, phaseMask);
    return sum;
  }

  // Oscillator 1 wrapped in the lanes of syncs (bits): oscillator 2 restarts.
  VORN_AVX2 __attribute__((noinline)) void Sync(__m128i next1, int syncs) {
    IntLanes nextLanes, phase2Lanes;
    nextLanes.Store(next1);
    phase2Lanes.Store(mPhase2);
    for (int lane = 0; lane < kLanes; ++lane) {
      if (!(syncs & (1 << lane))) continue;
      const auto next = static_cast<std::uint32_t>(nextLanes.v[lane]);
      phase2Lanes.v[lane] =
          static_cast<std::int32_t>(static_cast<std::int64_t>(next * mOsc[lane]->mSyncRatio) & kPhaseMask);
    }
    mPhase2 = phase2Lanes.Load();
  }

  // The cutoff index of VoiceFilter::Process, and new coefficients where it changed.
  VORN_AVX2_INLINE void UpdateCoefficients() {
    const __m256d modulated = _mm256_add_pd(
        _mm256_add_pd(
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(mFilterEnvelope.Level(), mEnvelopeAmount), mCutoff), mLfoTerm),
            mKeyTerm),
        mVelocityTerm);
    const __m128i index = _mm256_cvttpd_epi32(modulated);
    const __m128i same = _mm_cmpeq_epi32(index, mCachedIndex);
    if (_mm_movemask_ps(_mm_castsi128_ps(same)) != (1 << kLanes) - 1) {
      ComputeCoefficients(index, _mm_xor_si128(same, _mm_set1_epi32(-1)));
    }
  }

  // The filtering of VoiceFilter::Process, its coefficients current.
  VORN_AVX2_INLINE __m256d Filter(__m256d x) {
    const __m256d signBit = _mm256_set1_pd(-0.0);
    const __m256d in = _mm256_add_pd(x, mOffset);
    mS0 = _mm256_add_pd(mS0, mOffset);
    mS1 = _mm256_add_pd(mS1, mOffset);
    mS2 = _mm256_add_pd(mS2, mOffset);
    mS3 = _mm256_add_pd(mS3, mOffset);
    mOffset = _mm256_xor_pd(mOffset, signBit);
    if (mSmooth) {
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

  // VoiceFilter::ComputeCoefficients in the lanes whose cutoff index changed.
  VORN_AVX2_INLINE void ComputeCoefficients(__m128i index, __m128i changed) {
    const __m256d two = _mm256_set1_pd(2.0);
    const __m128i clamped = _mm_min_epi32(_mm_max_epi32(index, _mm_setzero_si128()), _mm_set1_epi32(kMaxPitchIndex));
    const __m256d w = _mm256_mask_i32gather_pd(_mm256_setzero_pd(), mCutoffTable, clamped,
                                               _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8);
    const __m256d take = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(changed));
    const __m256d g = _mm256_div_pd(_mm256_set1_pd(1.0), _mm256_add_pd(w, two));
    const __m256d b = _mm256_mul_pd(g, w);
    mK = _mm256_blendv_pd(mK, _mm256_mul_pd(_mm256_sub_pd(w, two), g), take);
    mB = _mm256_blendv_pd(mB, b, take);
    if (mSmooth) {
      mFeedback =
          _mm256_blendv_pd(mFeedback, _mm256_mul_pd(mResonance, _mm256_set1_pd(VoiceFilter::kSmoothFeedback)), take);
      const __m256d b2 = _mm256_mul_pd(b, b);
      mC4 = _mm256_blendv_pd(mC4, _mm256_mul_pd(b2, b2), take);
    } else {
      const __m256d c2 = _mm256_mul_pd(two, g);
      mC2 = _mm256_blendv_pd(mC2, c2, take);
      mC4 = _mm256_blendv_pd(mC4, _mm256_mul_pd(c2, b), take);
      mFeedback =
          _mm256_blendv_pd(mFeedback, _mm256_mul_pd(mResonance, _mm256_set1_pd(VoiceFilter::kDirtyFeedback)), take);
    }
    mCachedIndex = index;
    mUpdates = _mm_sub_epi32(mUpdates, changed);
  }

  OscillatorPair* mOsc[kLanes];
  VoiceFilter* mFilter[kLanes];
  bool mSmooth;
  bool mCutoffSettled;
  const double* mCutoffTable;
  EnvelopeLanes mFilterEnvelope;
  EnvelopeLanes mAmpEnvelope;
  __m128i mPhase1, mPhase2, mIncrement1, mIncrement2, mSynced, mCachedIndex, mUpdates;
  const double* mTable1[kLanes];
  const double* mTable2[kLanes];
  __m256d mEnvelopeAmount, mCutoff, mLfoTerm, mKeyTerm, mVelocityTerm, mResonance, mVelocityFactor;
  __m256d mB, mK, mC2, mC4, mFeedback, mS0, mS1, mS2, mS3, mOffset;
};

namespace {

// The samples of kGroups groups side by side: independent dependency chains
// that the processor overlaps. Every voice adds into mix[i] in group order.
template <int kGroups, typename Lanes, std::size_t... kGroup>
VORN_AVX2_INLINE void RenderSideBySide(Voice* const* groups, double* mix, int n, std::index_sequence<kGroup...>) {
  Lanes lanes[kGroups] = {Lanes(groups + kGroup * kLanes)...};
  DoubleLanes out[kGroups];
  for (int i = 0; i < n; ++i) {
    for (int g = 0; g < kGroups; ++g) out[g].Store(lanes[g].Sample(i > 0));
    double total = mix[i];
    for (const DoubleLanes& group : out) {
      for (int lane = 0; lane < kLanes; ++lane) total += group.v[lane];
    }
    mix[i] = total;
  }
  for (Lanes& group : lanes) group.Save();
}

}  // namespace

VORN_AVX2 void VoiceGroupAvx2::Render(Voice* const* groups, int count, double* mix, int n) {
  switch (count) {
    case 1: RenderSideBySide<1, Lanes>(groups, mix, n, std::make_index_sequence<1>()); break;
    case 2: RenderSideBySide<2, Lanes>(groups, mix, n, std::make_index_sequence<2>()); break;
    case 3: RenderSideBySide<3, Lanes>(groups, mix, n, std::make_index_sequence<3>()); break;
    default: RenderSideBySide<4, Lanes>(groups, mix, n, std::make_index_sequence<4>()); break;
  }
}
