#include "engine/voice_group_state.h"

#include "engine/voice.h"

bool VoiceGroupState::CanRender(Voice* const* group) {
  const VoiceFilter& first = group[0]->mFilter;
  for (int lane = 1; lane < kLanes; ++lane) {
    const VoiceFilter& filter = group[lane]->mFilter;
    if (filter.mMode != first.mMode || filter.mTables != first.mTables) return false;
  }
  return true;
}

VoiceGroupState::VoiceGroupState(Voice* const* group) {
  for (int lane = 0; lane < kLanes; ++lane) {
    const Voice& voice = *group[lane];
    OscillatorPair& o = *(osc[lane] = &group[lane]->mOscillators);
    VoiceFilter& f = *(filter[lane] = &group[lane]->mFilter);
    table1[lane] = o.mTable1;
    table2[lane] = o.mTable2;
    phase1[lane] = o.mPhase1;
    phase2[lane] = o.mPhase2;
    increment1[lane] = o.mIncrement1;
    increment2[lane] = o.mIncrement2;
    synced[lane] = o.mSync ? -1 : 0;
    syncRatio[lane] = o.mSyncRatio;
    cachedIndex[lane] = f.mCachedIndex;
    updates[lane] = 0;
    envelopeAmount[lane] = f.mEnvelopeAmount;
    cutoff[lane] = f.mCurrentCutoff;
    lfoTerm[lane] = *f.mInputs.lfo * f.mLfoAmount;
    keyTerm[lane] = *f.mInputs.key * f.mKeyAmount;
    velocityTerm[lane] = *f.mInputs.velocity * f.mVelocityAmount;
    resonance[lane] = f.mResonance;
    velocityFactor[lane] = voice.mVelocityFactor;
    b[lane] = f.mB;
    k[lane] = f.mK;
    c2[lane] = f.mC2;
    c4[lane] = f.mC4;
    feedback[lane] = f.mFeedbackGain;
    s0[lane] = f.mS0;
    s1[lane] = f.mS1;
    s2[lane] = f.mS2;
    s3[lane] = f.mS3;
    offset[lane] = f.mDenormalOffset;
  }
  smooth = filter[0]->mMode == VoiceFilter::kSmooth;
  tables = filter[0]->mTables;
}

void VoiceGroupState::Save() const {
  for (int lane = 0; lane < kLanes; ++lane) {
    osc[lane]->mPhase1 = phase1[lane];
    osc[lane]->mPhase2 = phase2[lane];
    VoiceFilter& f = *filter[lane];
    f.mB = b[lane];
    f.mK = k[lane];
    f.mC2 = c2[lane];
    f.mC4 = c4[lane];
    f.mFeedbackGain = feedback[lane];
    f.mS0 = s0[lane];
    f.mS1 = s1[lane];
    f.mS2 = s2[lane];
    f.mS3 = s3[lane];
    f.mDenormalOffset = offset[lane];
    f.mCachedIndex = cachedIndex[lane];
    f.mCoefficientUpdates += updates[lane];
  }
}

void VoiceGroupState::RestartSynced(int syncs, const std::int32_t* next, std::int32_t* phase2) const {
  for (int lane = 0; lane < kLanes; ++lane) {
    if (!(syncs & (1 << lane))) continue;
    phase2[lane] = OscillatorPair::SyncedPhase(static_cast<std::uint32_t>(next[lane]), syncRatio[lane]);
  }
}

Envelope& VoiceGroupEnvelopes::At(int lane) const { return group[lane]->*member; }

void VoiceGroupEnvelopes::Gather() {
  settled = true;
  for (int lane = 0; lane < kLanes; ++lane) {
    const Envelope& envelope = At(lane);
    level[lane] = envelope.mLevel;
    target[lane] = envelope.mTarget;
    coefficient[lane] = envelope.mCoefficient;
    active[lane] = envelope.mStage != Envelope::kIdle;
    attack[lane] = envelope.mStage == Envelope::kAttack;
    settled = settled && envelope.IsSettled();
  }
}

void VoiceGroupEnvelopes::Save() const {
  for (int lane = 0; lane < kLanes; ++lane) At(lane).mLevel = level[lane];
}

void VoiceGroupEnvelopes::StepLanes(int special, const double* next) const {
  for (int lane = 0; lane < kLanes; ++lane) {
    if (special & (1 << lane)) {
      At(lane).Step();
    } else {
      At(lane).mLevel = next[lane];
    }
  }
}
