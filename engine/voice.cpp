#include "engine/voice.h"

#include <algorithm>
#include <cmath>

#include "engine/engine_constants.h"
#include "engine/engine_parameter.h"
#include "engine/vector_path.h"
#include "engine/voice_group_avx2.h"
#include "engine/voice_group_state.h"
#include "engine/voice_group_sse2.h"

namespace {

constexpr double kVelocityScale = 0.007874015748031496;      // 1 / 127
constexpr double kOctavesPerSemitone = 0.08333333333333333;  // 1 / 12
constexpr int kKeyTrackCentre = 48;                          // the note at which key tracking moves nothing

}  // namespace

const double Voice::kNoSource = 0.0;

Voice::Voice() { mFilter.BindInputs({mFilterEnvelope.LevelSource(), mLfoSource, &mKeyOffset, &mVelocityFactor}); }

void Voice::BindEngineSources(const EngineSources& sources) {
  mBendSource = sources.bend;
  mWheelSource = sources.modulationWheel;
  mLfoSource = sources.lfo;
  mFilter.BindInputs({mFilterEnvelope.LevelSource(), mLfoSource, &mKeyOffset, &mVelocityFactor});
  BindFmSource();
}

void Voice::BindFmSource() { mFmSource = mFmFromEnvelope ? mFilterEnvelope.LevelSource() : mLfoSource; }

void Voice::NoteOn(int note, double pitch, int velocity, std::int64_t counter) {
  mSounding = true;
  mNote = note;
  mCounter = counter;
  mKeyOffset = (note - kKeyTrackCentre) * kOctavesPerSemitone;
  mVelocityFactor = (velocity * kVelocityScale - 1.0) * mAmpVelocity + 1.0;

  // A glide runs from wherever this voice's pitch is now. It ends on the
  // note's start pitch, which a tuning master may have moved off note * 128.
  bool gliding = false;
  if (mGlideTime > 0.0) {
    mGlideTicksLeft = static_cast<int>(mGlideTime * kControlTicksPerSecond);
    if (mGlideTicksLeft >= 1) {
      mGlideStep = (pitch - mCurrentPitch) / (mGlideTime * kControlTicksPerSecond);
      gliding = mGlideStep != 0.0;
    }
  }
  if (!gliding) {
    mCurrentPitch = pitch;
    if (mGlideTime <= 0.0) {
      mGlideTicksLeft = 0;
      mGlideStep = 0.0;
    }
  }
  mTargetPitch = pitch;

  // "Single" keeps a legato line on one envelope.
  if (mTriggerMode == kSingle && mKeyDown) return;
  mFilterEnvelope.StartAttack();
  mAmpEnvelope.StartAttack();
}

void Voice::NoteOff() {
  mKeyDown = false;
  if (mSustained) return;
  mFilterEnvelope.StartRelease();
  mAmpEnvelope.StartRelease();
}

void Voice::ControlTick() {
  if (!mSounding) {
    if (mAmpEnvelope.CurrentStage() != Envelope::kIdle) mAmpEnvelope.Step();
    return;
  }
  const double wheel = *mWheelSource;
  mVibrato = wheel * *mLfoSource * wheel;
  mAmpEnvelope.Step();
  mFilterEnvelope.Step();
  if (mGlideTicksLeft > 0) {
    --mGlideTicksLeft;
    mCurrentPitch += mGlideStep;
    if (mGlideTicksLeft == 0) mCurrentPitch = mTargetPitch;
  }
  mOscillators.UpdatePitch(mCurrentPitch, *mBendSource, mVibrato, *mFmSource);
  mFilter.GlideCutoff();
  mSounding = mAmpEnvelope.CurrentStage() != Envelope::kIdle;
}

template <int kGroupSize>
void Voice::RenderGroup(Voice* const* group, double* mix, int n) {
  for (int i = 0; i < n; ++i) {
    double sum = mix[i];
    for (int v = 0; v < kGroupSize; ++v) sum += group[v]->RenderSample(i > 0);
    mix[i] = sum;
  }
}

void Voice::RenderVoices(Voice* voices, VoiceSet sounding, double* mix, int n) {
  // Voices are taken in index order, up to sixteen at a time: groups of four
  // for the vector code, side by side, or up to four for the scalar code.
  constexpr int kGroupSize = 4;
  constexpr int kMaxBatch = kGroupSize * VoiceGroupAvx2::kMaxGroups;
  static_assert(VoiceGroupSse2::kMaxGroups <= VoiceGroupAvx2::kMaxGroups, "a batch holds the most groups");
  Voice* batch[kMaxBatch];
  int batched = 0;
  const VectorPath path = SelectedVectorPath();
  const auto renderScalar = [&](Voice* const* group, int count) {
    switch (count) {
      case 1: RenderGroup<1>(group, mix, n); break;
      case 2: RenderGroup<2>(group, mix, n); break;
      case 3: RenderGroup<3>(group, mix, n); break;
      case 4: RenderGroup<4>(group, mix, n); break;
      default: break;
    }
  };
  // Renders what follows done with the vector code of the path in use, as many
  // whole groups as can share it; answers how many voices that was.
  const auto renderVector = [&](auto path, int done) {
    using Group = decltype(path);
    int groups = 0;
    while (groups < Group::kMaxGroups && done + (groups + 1) * kGroupSize <= batched &&
           VoiceGroupState::CanRender(batch + done + groups * kGroupSize)) {
      ++groups;
    }
    if (groups > 0) Group::Render(batch + done, groups, mix, n);
    return groups * kGroupSize;
  };
  const auto flush = [&]() {
    for (int done = 0; done < batched;) {
      int rendered = 0;
      if (path == VectorPath::kAvx2) {
        rendered = renderVector(VoiceGroupAvx2{}, done);
      } else if (path == VectorPath::kSse2) {
        rendered = renderVector(VoiceGroupSse2{}, done);
      }
      if (rendered > 0) {
        done += rendered;
      } else {
        const int count = std::min(kGroupSize, batched - done);
        renderScalar(batch + done, count);
        done += count;
      }
    }
    batched = 0;
  };
  for (; sounding != 0; sounding &= sounding - 1) {
    batch[batched++] = &voices[LowestSetBit(sounding)];
    if (batched == kMaxBatch) flush();
  }
  flush();
}

void Voice::Reset(double sampleRate, const PitchTables* tables) {
  mSounding = false;
  mKeyDown = false;
  mSustained = false;
  mVelocityFactor = 0.0;
  mCurrentPitch = kResetPitch;
  mTargetPitch = kResetPitch;
  mKeyOffset = 0.0;
  mVibrato = 0.0;
  mGlideStep = 0.0;
  mGlideTicksLeft = 0;
  mNote = kResetNote;
  mCounter = 0;
  mOscillators.SetTables(tables);
  BindFmSource();
  mFilter.SetTables(tables);
  mFilter.Reset();
  mFilterEnvelope.Reset(sampleRate);
  mAmpEnvelope.Reset(sampleRate);
}

void Voice::SetParameter(int index, double x) {
  namespace p = engine_parameter;
  switch (index) {
    case p::kMonophon: mTriggerMode = static_cast<int>(std::lround(x)); break;
    case p::kPitchBendRange: mOscillators.SetBendRange(static_cast<int>(x) * kPitchStepsPerSemitone); break;
    case p::kPortamento: mGlideTime = x; break;
    case p::kMasterTune: mOscillators.SetMasterTune(static_cast<int>(x)); break;
    case p::kOscWave: mOscillators.SetWave(static_cast<int>(x)); break;
    case p::kFmAmount: mOscillators.SetFmAmount(x); break;
    case p::kFmSource:
      mFmFromEnvelope = x > 0.0;
      BindFmSource();
      break;
    case p::kOsc2Transpose: mOscillators.SetOsc2Semitones(static_cast<int>(x)); break;
    case p::kOsc2Tune: mOscillators.SetOsc2Fine(static_cast<int>(x)); break;
    case p::kSync: mOscillators.SetSync(x > 0.0); break;
    case p::kFilterMode: mFilter.SetMode(static_cast<int>(x)); break;
    case p::kFilterFrequency: mFilter.SetCutoff(x, mSounding); break;
    case p::kFilterResonance: mFilter.SetResonance(x); break;
    case p::kFilterEnvAmount: mFilter.SetEnvelopeAmount(x); break;
    case p::kFilterLfoAmount: mFilter.SetLfoAmount(x); break;
    case p::kFilterKeyTrack: mFilter.SetKeyAmount(x); break;
    case p::kFilterVelocity: mFilter.SetVelocityAmount(x); break;
    case p::kAmpVelocity: mAmpVelocity = x; break;
    case p::kFilterEnvAttack: mFilterEnvelope.SetAttack(x); break;
    case p::kFilterEnvDecay:
      // One knob sets both the decay and the release of the filter envelope.
      mFilterEnvelope.SetDecay(x);
      mFilterEnvelope.SetRelease(x);
      break;
    case p::kFilterEnvSustain: mFilterEnvelope.SetSustain(x); break;
    case p::kAmpEnvAttack: mAmpEnvelope.SetAttack(x); break;
    case p::kAmpEnvDecay: mAmpEnvelope.SetDecay(x); break;
    case p::kAmpEnvSustain: mAmpEnvelope.SetSustain(x); break;
    case p::kAmpEnvRelease: mAmpEnvelope.SetRelease(x); break;
    default: break;
  }
}
