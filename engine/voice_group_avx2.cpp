#include "engine/voice_group_avx2.h"

#include <immintrin.h>

#include <cstdint>

#include "engine/voice.h"

// Only the functions below use AVX2: everything else in this file, the
// engine's inline functions included, stays plain x86 code, so no AVX2
// instruction can reach a processor without it through a shared copy.
#define VORN_AVX2 __attribute__((target("avx2")))

namespace {

constexpr int kLanes = 4;
constexpr int kTableEntryShift = 16;

// Lane values move between vectors and the voices through these.
struct alignas(32) DoubleLanes {
  double v[kLanes];
  VORN_AVX2 __m256d Load() const { return _mm256_load_pd(v); }
  VORN_AVX2 void Store(__m256d x) { _mm256_store_pd(v, x); }
};

struct alignas(16) IntLanes {
  std::int32_t v[kLanes];
  VORN_AVX2 __m128i Load() const { return _mm_load_si128(reinterpret_cast<const __m128i*>(v)); }
  VORN_AVX2 void Store(__m128i x) { _mm_store_si128(reinterpret_cast<__m128i*>(v), x); }
};

struct alignas(32) AddressLanes {
  std::int64_t v[kLanes];
  VORN_AVX2 __m256i Load() const { return _mm256_load_si256(reinterpret_cast<const __m256i*>(v)); }
};

VORN_AVX2 __m256d LaneMask(bool a, bool b, bool c, bool d) {
  return _mm256_castsi256_pd(_mm256_setr_epi64x(-std::int64_t{a}, -std::int64_t{b}, -std::int64_t{c}, -std::int64_t{d}));
}

// Clip(x) = x < -1 ? -1 : (x > 1 ? 1 : x), NaN passing through as in the scalar code.
VORN_AVX2 __m256d Clip(__m256d x) {
  const __m256d one = _mm256_set1_pd(1.0);
  const __m256d minusOne = _mm256_set1_pd(-1.0);
  __m256d r = _mm256_blendv_pd(x, one, _mm256_cmp_pd(x, one, _CMP_GT_OQ));
  return _mm256_blendv_pd(r, minusOne, _mm256_cmp_pd(x, minusOne, _CMP_LT_OQ));
}

// Reads wave-table entries phase >> 16 of four tables at once. (The masked
// gathers, all lanes enabled, spare the plain ones' undefined start value.)
VORN_AVX2 __m256d Lookup(__m256i tables, __m128i phases) {
  const __m256i entries = _mm256_cvtepu32_epi64(_mm_srli_epi32(phases, kTableEntryShift));
  const __m256i addresses = _mm256_add_epi64(tables, _mm256_slli_epi64(entries, 3));
  return _mm256_mask_i64gather_pd(_mm256_setzero_pd(), static_cast<const double*>(nullptr), addresses,
                                  _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 1);
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
  // is stepped by the envelope itself, which knows what comes next.
  VORN_AVX2 void Step() {
    const __m256d next = _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(mTarget, mLevel), mCoefficient), mLevel);
    const __m256d attackEnds = _mm256_and_pd(mAttack, _mm256_cmp_pd(next, _mm256_set1_pd(1.0), _CMP_GE_OQ));
    const __m256d falling = _mm256_andnot_pd(mAttack, mActive);
    const __m256d reachesZero = _mm256_and_pd(falling, _mm256_cmp_pd(next, _mm256_setzero_pd(), _CMP_LE_OQ));
    const int special = _mm256_movemask_pd(_mm256_or_pd(attackEnds, reachesZero));
    if (special == 0) {
      mLevel = _mm256_blendv_pd(mLevel, next, mActive);
      return;
    }
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

  VORN_AVX2 __m256d Level() const { return mLevel; }

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
    mAttack = LaneMask(e0.mStage == Envelope::kAttack, e1.mStage == Envelope::kAttack,
                       e2.mStage == Envelope::kAttack, e3.mStage == Envelope::kAttack);
  }

  Voice* const* mGroup;
  Envelope Voice::*mMember;
  __m256d mLevel, mTarget, mCoefficient, mActive, mAttack;
};

bool VoiceGroupAvx2::CanRender(Voice* const* group) {
  const VoiceFilter& first = group[0]->mFilter;
  for (int lane = 1; lane < kLanes; ++lane) {
    const VoiceFilter& filter = group[lane]->mFilter;
    if (filter.mMode != first.mMode || filter.mTables != first.mTables) return false;
  }
  return true;
}

VORN_AVX2 void VoiceGroupAvx2::Render(Voice* const* group, double* mix, int n) {
  OscillatorPair* osc[kLanes];
  VoiceFilter* filter[kLanes];
  for (int lane = 0; lane < kLanes; ++lane) {
    osc[lane] = &group[lane]->mOscillators;
    filter[lane] = &group[lane]->mFilter;
  }
  const bool smooth = filter[0]->mMode == VoiceFilter::kSmooth;
  const double* cutoffTable = filter[0]->mTables->CutoffTable();

  // Oscillators.
  IntLanes phase1Lanes, phase2Lanes;
  AddressLanes table1Lanes, table2Lanes;
  for (int lane = 0; lane < kLanes; ++lane) {
    phase1Lanes.v[lane] = osc[lane]->mPhase1;
    phase2Lanes.v[lane] = osc[lane]->mPhase2;
    table1Lanes.v[lane] = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(osc[lane]->mTable1));
    table2Lanes.v[lane] = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(osc[lane]->mTable2));
  }
  __m128i phase1 = phase1Lanes.Load();
  __m128i phase2 = phase2Lanes.Load();
  const __m128i increment1 = _mm_setr_epi32(osc[0]->mIncrement1, osc[1]->mIncrement1, osc[2]->mIncrement1,
                                            osc[3]->mIncrement1);
  const __m128i increment2 = _mm_setr_epi32(osc[0]->mIncrement2, osc[1]->mIncrement2, osc[2]->mIncrement2,
                                            osc[3]->mIncrement2);
  const __m128i synced = _mm_setr_epi32(-std::int32_t{osc[0]->mSync}, -std::int32_t{osc[1]->mSync},
                                        -std::int32_t{osc[2]->mSync}, -std::int32_t{osc[3]->mSync});
  const __m256i table1 = table1Lanes.Load();
  const __m256i table2 = table2Lanes.Load();
  const __m128i phaseMask = _mm_set1_epi32(kPhaseMask);

  EnvelopeLanes filterEnvelope(group, &Voice::mFilterEnvelope);
  EnvelopeLanes ampEnvelope(group, &Voice::mAmpEnvelope);

  // Filter: the modulation terms other than the envelope's hold for the call.
  const __m256d envelopeAmount = LaneValues([&](int l) { return filter[l]->mEnvelopeAmount; });
  const __m256d cutoff = LaneValues([&](int l) { return filter[l]->mCurrentCutoff; });
  const __m256d lfoTerm = LaneValues([&](int l) { return *filter[l]->mInputs.lfo * filter[l]->mLfoAmount; });
  const __m256d keyTerm = LaneValues([&](int l) { return *filter[l]->mInputs.key * filter[l]->mKeyAmount; });
  const __m256d velocityTerm =
      LaneValues([&](int l) { return *filter[l]->mInputs.velocity * filter[l]->mVelocityAmount; });
  const __m256d resonance = LaneValues([&](int l) { return filter[l]->mResonance; });
  const __m256d velocityFactor = LaneValues([&](int l) { return group[l]->mVelocityFactor; });
  __m256d b = LaneValues([&](int l) { return filter[l]->mB; });
  __m256d k = LaneValues([&](int l) { return filter[l]->mK; });
  __m256d c2 = LaneValues([&](int l) { return filter[l]->mC2; });
  __m256d c4 = LaneValues([&](int l) { return filter[l]->mC4; });
  __m256d feedback = LaneValues([&](int l) { return filter[l]->mFeedbackGain; });
  __m256d s0 = LaneValues([&](int l) { return filter[l]->mS0; });
  __m256d s1 = LaneValues([&](int l) { return filter[l]->mS1; });
  __m256d s2 = LaneValues([&](int l) { return filter[l]->mS2; });
  __m256d s3 = LaneValues([&](int l) { return filter[l]->mS3; });
  __m256d offset = LaneValues([&](int l) { return filter[l]->mDenormalOffset; });
  __m128i cachedIndex = _mm_setr_epi32(filter[0]->mCachedIndex, filter[1]->mCachedIndex, filter[2]->mCachedIndex,
                                       filter[3]->mCachedIndex);
  __m128i updates = _mm_setzero_si128();
  const __m256d two = _mm256_set1_pd(2.0);
  const __m256d signBit = _mm256_set1_pd(-0.0);
  const __m256d feedbackScale = _mm256_set1_pd(smooth ? VoiceFilter::kSmoothFeedback : VoiceFilter::kDirtyFeedback);

  DoubleLanes out;
  for (int i = 0; i < n; ++i) {
    // OscillatorPair::Next.
    const __m256d sum = _mm256_add_pd(Lookup(table1, phase1), Lookup(table2, phase2));
    const __m128i next1 = _mm_add_epi32(phase1, increment1);
    const __m128i wrapped = _mm_xor_si128(_mm_cmpeq_epi32(_mm_srli_epi32(next1, 28), _mm_setzero_si128()),
                                          _mm_set1_epi32(-1));
    phase2 = _mm_and_si128(_mm_add_epi32(phase2, increment2), phaseMask);
    const int syncs = _mm_movemask_ps(_mm_castsi128_ps(_mm_and_si128(wrapped, synced)));
    if (syncs != 0) {
      IntLanes nextLanes, phase2Now;
      nextLanes.Store(next1);
      phase2Now.Store(phase2);
      for (int lane = 0; lane < kLanes; ++lane) {
        if (!(syncs & (1 << lane))) continue;
        const auto next = static_cast<std::uint32_t>(nextLanes.v[lane]);
        phase2Now.v[lane] =
            static_cast<std::int32_t>(static_cast<std::int64_t>(next * osc[lane]->mSyncRatio) & kPhaseMask);
      }
      phase2 = phase2Now.Load();
    }
    phase1 = _mm_and_si128(next1, phaseMask);

    if (i > 0) {
      filterEnvelope.Step();
      ampEnvelope.Step();
    }

    // VoiceFilter::Process.
    const __m256d modulated = _mm256_add_pd(
        _mm256_add_pd(_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(filterEnvelope.Level(), envelopeAmount), cutoff),
                                    lfoTerm),
                      keyTerm),
        velocityTerm);
    const __m128i index = _mm256_cvttpd_epi32(modulated);
    const __m128i changed = _mm_xor_si128(_mm_cmpeq_epi32(index, cachedIndex), _mm_set1_epi32(-1));
    if (_mm_movemask_ps(_mm_castsi128_ps(changed)) != 0) {
      const __m128i clamped = _mm_min_epi32(_mm_max_epi32(index, _mm_setzero_si128()), _mm_set1_epi32(kMaxPitchIndex));
      const __m256d w = _mm256_mask_i32gather_pd(_mm256_setzero_pd(), cutoffTable, clamped,
                                                 _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8);
      const __m256d take = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(changed));
      const __m256d g = _mm256_div_pd(_mm256_set1_pd(1.0), _mm256_add_pd(w, two));
      const __m256d newB = _mm256_mul_pd(g, w);
      k = _mm256_blendv_pd(k, _mm256_mul_pd(_mm256_sub_pd(w, two), g), take);
      b = _mm256_blendv_pd(b, newB, take);
      feedback = _mm256_blendv_pd(feedback, _mm256_mul_pd(resonance, feedbackScale), take);
      if (smooth) {
        const __m256d b2 = _mm256_mul_pd(newB, newB);
        c4 = _mm256_blendv_pd(c4, _mm256_mul_pd(b2, b2), take);
      } else {
        const __m256d newC2 = _mm256_mul_pd(two, g);
        c2 = _mm256_blendv_pd(c2, newC2, take);
        c4 = _mm256_blendv_pd(c4, _mm256_mul_pd(newC2, newB), take);
      }
      cachedIndex = index;
      updates = _mm_sub_epi32(updates, changed);
    }
    const __m256d in = _mm256_add_pd(sum, offset);
    s0 = _mm256_add_pd(s0, offset);
    s1 = _mm256_add_pd(s1, offset);
    s2 = _mm256_add_pd(s2, offset);
    s3 = _mm256_add_pd(s3, offset);
    offset = _mm256_xor_pd(offset, signBit);
    __m256d filtered;
    if (smooth) {
      const __m256d estimate = _mm256_add_pd(
          _mm256_add_pd(
              _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(s0, b), s1), b), s2), b), s3),
          _mm256_mul_pd(in, c4));
      const __m256d u = _mm256_sub_pd(in, _mm256_mul_pd(Clip(estimate), feedback));
      const __m256d bu = _mm256_mul_pd(b, u);
      const __m256d y1 = _mm256_add_pd(s0, bu);
      s0 = _mm256_sub_pd(bu, _mm256_mul_pd(k, y1));
      const __m256d by1 = _mm256_mul_pd(b, y1);
      const __m256d y2 = _mm256_add_pd(s1, by1);
      s1 = _mm256_sub_pd(by1, _mm256_mul_pd(k, y2));
      const __m256d by2 = _mm256_mul_pd(b, y2);
      const __m256d y3 = _mm256_add_pd(s2, by2);
      s2 = _mm256_sub_pd(by2, _mm256_mul_pd(k, y3));
      const __m256d by3 = _mm256_mul_pd(b, y3);
      const __m256d y4 = _mm256_add_pd(s3, by3);
      s3 = _mm256_sub_pd(by3, _mm256_mul_pd(k, y4));
      filtered = estimate;
    } else {
      const __m256d bin = _mm256_mul_pd(b, in);
      const __m256d t = _mm256_add_pd(bin, s0);
      s0 = _mm256_sub_pd(bin, _mm256_mul_pd(k, t));
      const __m256d estimate = _mm256_add_pd(
          t, _mm256_mul_pd(feedback, _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(c2, s1), s2), _mm256_mul_pd(c4, t))));
      const __m256d v = _mm256_mul_pd(b, Clip(estimate));
      const __m256d y = _mm256_add_pd(s1, v);
      s1 = _mm256_sub_pd(v, _mm256_mul_pd(k, y));
      const __m256d p = _mm256_add_pd(s2, _mm256_mul_pd(c2, y));
      const __m256d negativeC2 = _mm256_xor_pd(c2, signBit);
      s2 = _mm256_sub_pd(_mm256_mul_pd(negativeC2, y), _mm256_mul_pd(k, p));
      filtered = y;
    }
    out.Store(_mm256_mul_pd(_mm256_mul_pd(filtered, velocityFactor), ampEnvelope.Level()));
    double total = mix[i];
    for (int lane = 0; lane < kLanes; ++lane) total += out.v[lane];
    mix[i] = total;
  }

  phase1Lanes.Store(phase1);
  phase2Lanes.Store(phase2);
  filterEnvelope.Save();
  ampEnvelope.Save();
  DoubleLanes bLanes, kOut, c2Lanes, c4Lanes, feedbackLanes, s0Lanes, s1Lanes, s2Lanes, s3Lanes, offsetLanes;
  bLanes.Store(b);
  kOut.Store(k);
  c2Lanes.Store(c2);
  c4Lanes.Store(c4);
  feedbackLanes.Store(feedback);
  s0Lanes.Store(s0);
  s1Lanes.Store(s1);
  s2Lanes.Store(s2);
  s3Lanes.Store(s3);
  offsetLanes.Store(offset);
  IntLanes indexLanes, updateLanes;
  indexLanes.Store(cachedIndex);
  updateLanes.Store(updates);
  for (int lane = 0; lane < kLanes; ++lane) {
    osc[lane]->mPhase1 = phase1Lanes.v[lane];
    osc[lane]->mPhase2 = phase2Lanes.v[lane];
    VoiceFilter& f = *filter[lane];
    f.mB = bLanes.v[lane];
    f.mK = kOut.v[lane];
    f.mC2 = c2Lanes.v[lane];
    f.mC4 = c4Lanes.v[lane];
    f.mFeedbackGain = feedbackLanes.v[lane];
    f.mS0 = s0Lanes.v[lane];
    f.mS1 = s1Lanes.v[lane];
    f.mS2 = s2Lanes.v[lane];
    f.mS3 = s3Lanes.v[lane];
    f.mDenormalOffset = offsetLanes.v[lane];
    f.mCachedIndex = indexLanes.v[lane];
    f.mCoefficientUpdates += updateLanes.v[lane];
  }
}
