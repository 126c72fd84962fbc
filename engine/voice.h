// One note's worth of synthesis: two oscillators into a resonant low-pass,
// shaped by an amplitude envelope and the velocity, added into the engine's
// mono mix. Per control tick the voice updates glide, pitch, vibrato and the
// cutoff glide; per sample it runs oscillators, envelopes and filter.
//   out = filter(osc1 + osc2) * velocityFactor * ampEnvelope
//   velocityFactor = (velocity / 127 - 1) * sensitivity + 1, 0..1
// Pitch in pitch-index steps (1/128 semitone above 8.176 Hz).
#pragma once

#include <cstdint>

#include "engine/envelope.h"
#include "engine/oscillator_pair.h"
#include "engine/pitch_tables.h"
#include "engine/voice_filter.h"
#include "engine/voice_set.h"

class Voice {
 public:
  enum TriggerMode : int { kRetrigger = 0, kMultiple = 1, kSingle = 2 };

  // Where the engine keeps the values every voice follows.
  struct EngineSources {
    const double* bend;             // -1..+1
    const double* modulationWheel;  // 0..1
    const double* lfo;              // -1..+1
  };

  Voice();
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  void BindEngineSources(const EngineSources& sources);

  // Starts (or restarts) a note at a pitch index; the caller sets key down after.
  void NoteOn(int note, double pitch, int velocity, std::int64_t counter);
  // The key went up: releases unless the pedal holds the voice.
  void NoteOff();
  void ControlTick();
  // Adds n samples of the voices whose bits are set in sounding (bit v for
  // voices[v], all of them sounding) to mix, in index order. Each sounding
  // voice's filter is one long chain of dependent operations; rendering up to
  // four voices side by side, sample by sample, lets the processor overlap
  // their chains. Every voice still adds into mix[i] in voice order, so the
  // sums are bit for bit those of rendering the voices one after another.
  static void RenderVoices(Voice* voices, VoiceSet sounding, double* mix, int n);
  // Advances both phases as that many samples of a silent voice would.
  void FreeRun(std::uint32_t samples) { mOscillators.FreeRun(samples); }
  // A new sample rate: silent, note 48, envelopes idle, filter restarted, with
  // the pitch tables for that rate. Parameter-derived settings are kept.
  void Reset(double sampleRate, const PitchTables* tables);
  // A forwarded parameter quantity (see SynthEngine::ApplyParameter).
  void SetParameter(int index, double x);

  bool IsSounding() const { return mSounding; }
  bool IsKeyDown() const { return mKeyDown; }
  bool IsSustained() const { return mSustained; }
  bool IsFree() const { return !mSounding && !mKeyDown; }
  void SetKeyDown(bool down) { mKeyDown = down; }
  void SetSustained(bool sustained) { mSustained = sustained; }
  int Note() const { return mNote; }
  std::int64_t Counter() const { return mCounter; }

  double CurrentPitch() const { return mCurrentPitch; }
  int GlideTicksLeft() const { return mGlideTicksLeft; }
  double VelocityFactor() const { return mVelocityFactor; }
  int TriggerModeValue() const { return mTriggerMode; }
  const OscillatorPair& Oscillators() const { return mOscillators; }
  const VoiceFilter& Filter() const { return mFilter; }
  const Envelope& AmpEnvelope() const { return mAmpEnvelope; }
  const Envelope& FilterEnvelope() const { return mFilterEnvelope; }

 private:
  // One sample of a sounding voice. The first sample of a segment gets no
  // envelope step: after a tick, the tick took it; in a control block that
  // continues across host blocks, that sample simply goes without one.
  double RenderSample(bool stepEnvelopes) {
    const double sum = mOscillators.Next();
    if (stepEnvelopes) {
      mFilterEnvelope.Step();
      mAmpEnvelope.Step();
    }
    return mFilter.Process(sum) * mVelocityFactor * mAmpEnvelope.Level();
  }

  // Render groups of four voices in the lanes of 256-bit vectors, or in two
  // pairs of 128-bit vectors.
  friend class VoiceGroupAvx2;
  friend class VoiceGroupSse2;
  friend struct VoiceGroupState;

  template <int kGroupSize>
  static void RenderGroup(Voice* const* group, double* mix, int n);

  void BindFmSource();

  static const double kNoSource;

  OscillatorPair mOscillators;
  const double* mBendSource = &kNoSource;
  const double* mFmSource = &kNoSource;
  VoiceFilter mFilter;
  Envelope mFilterEnvelope;
  Envelope mAmpEnvelope;
  double mVibrato = 0.0;
  double mKeyOffset = 0.0;
  double mVelocityFactor = 0.0;
  const double* mWheelSource = &kNoSource;
  const double* mLfoSource = &kNoSource;
  int mTriggerMode = kRetrigger;
  bool mFmFromEnvelope = false;
  double mGlideTime = 0.0;
  double mAmpVelocity = 0.0;
  bool mSounding = false;
  bool mKeyDown = false;
  bool mSustained = false;
  double mCurrentPitch = kResetPitch;
  // Where a glide ends: the note's start pitch, tuned when a master is active.
  double mTargetPitch = kResetPitch;
  double mGlideStep = 0.0;
  int mGlideTicksLeft = 0;
  int mNote = kResetNote;
  std::int64_t mCounter = 0;

  static constexpr int kResetNote = 48;
  static constexpr double kResetPitch = kResetNote * kPitchStepsPerSemitone;
};
