// The sound engine of one plug-in instance: MIDI in, stereo audio out.
//
// MIDI messages are queued with their frame offsets and take effect at the
// control tick nearest to them; audio is rendered in control blocks of
// B = (int)fs / 1000 samples (about 1 ms), with one tick of modulation at the
// start of each. Up to 64 voices (or voice 0 alone in the mono modes) add into
// a mono mix that the chorus turns into left and right.
//
// Threads: every entry point runs with the plug-in's lock held by the caller.
// RenderBlock and HandleMidiMessage run on the host's audio thread and never
// allocate; Reset and ApplyParameter may run on any host thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/chorus.h"
#include "engine/engine_host.h"
#include "engine/event_queue.h"
#include "engine/held_note_map.h"
#include "engine/lfo.h"
#include "engine/midi_event.h"
#include "engine/mts_client.h"
#include "engine/pitch_tables.h"
#include "engine/voice.h"
#include "engine/voice_set.h"

class SynthEngine {
 public:
  static constexpr int kVoiceCount = 64;
  static constexpr double kMinSampleRate = 1000.0;
  static constexpr double kMaxSampleRate = 1536000.0;

  // Registers the instance with the installed tuning library.
  explicit SynthEngine(EngineHost& host);
  // The same with another tuning library binding (tests use a stand-in).
  SynthEngine(EngineHost& host, const MtsLibrary& tuningLibrary);
  ~SynthEngine();
  SynthEngine(const SynthEngine&) = delete;
  SynthEngine& operator=(const SynthEngine&) = delete;

  // Host thread, lock held, never during a render. Prepares for a sample rate
  // and host block size: the queue is resized (may allocate) and the held
  // keys forgotten every time; voices, chorus, mix buffer and pitch tables are
  // rebuilt only when the rate changed. Rates outside kMinSampleRate ..
  // kMaxSampleRate leave the engine unprepared: it renders silence and drops
  // queued MIDI until a usable rate arrives.
  void Reset(double sampleRate, int hostBlockSize);
  // Any host thread (the audio thread for mapped MIDI controllers), lock held;
  // never allocates. value: the parameter's real value; normalized: its
  // normalised value. Both are clamped again here, so any double is safe.
  void ApplyParameter(int index, double value, double normalized);
  // Audio thread, lock held, before the block the message belongs to; never
  // allocates (a full queue drops the message).
  void HandleMidiMessage(const MidiEvent& message);
  // Audio thread, lock held; never allocates. Writes frames samples to each output.
  void RenderBlock(double* left, double* right, int frames);
  // Any thread, lock held. Every voice fades out with its release; the held
  // keys are forgotten.
  void ReleaseAllVoices();

  bool IsPrepared() const { return mControlBlock >= 1; }
  int ControlBlockLength() const { return mControlBlock; }
  int SamplesLeftInControlBlock() const { return mSamplesLeft; }
  std::uint64_t ControlTicks() const { return mControlTicks; }
  int ActiveVoiceCount() const { return mActiveVoices; }
  // A free voice's oscillator phases are as far as they were last brought up
  // to date (see mClock), not necessarily the current ones.
  const Voice& VoiceAt(int index) const { return mVoices[index]; }
  const EventQueue& Queue() const { return mQueue; }
  const HeldNoteMap& HeldNotes() const { return mHeldNotes; }
  const Lfo& GetLfo() const { return mLfo; }
  const Chorus& GetChorus() const { return mChorus; }
  const MtsClient& Tuning() const { return mTuning; }
  double Bend() const { return mBend; }
  double ModulationWheel() const { return mWheel; }

 private:
  void ControlTick();
  void TickVoices();
  void ConsumeEvents();
  void Dispatch(const MidiEvent& event);
  void NoteOn(int note, int velocity);
  void NoteOff(int note);
  void SustainPedal(bool down);
  void ForEachVoice(int index, double x);
  // Voice bookkeeping that lets a silent engine skip its free voices: see
  // the members below.
  void StartVoice(Voice& voice, int note, double pitch, int velocity, std::int64_t counter);
  void SetActiveVoiceCount(int count);
  void CatchUpFreeVoices();
  void RescanVoices();

  EngineHost& mHost;
  double mSampleRate = -1.0;
  int mControlBlock = 0;
  int mSamplesLeft = 0;
  std::vector<double> mMix;
  int mActiveVoices = kVoiceCount;
  std::int64_t mNoteCounter = 0;
  double mBend = 0.0;
  double mWheel = 0.0;
  std::array<Voice, kVoiceCount> mVoices;
  HeldNoteMap mHeldNotes;
  EventQueue mQueue;
  Lfo mLfo;
  Chorus mChorus;
  MtsClient mTuning;
  std::shared_ptr<const PitchTables> mTables;
  std::uint64_t mControlTicks = 0;
  // Of voices 0 .. mActiveVoices-1: those sounding (rendered), and those that
  // may need their control tick (a superset of the sounding ones; the others
  // are idle and their ticks would change nothing).
  VoiceSet mSounding = 0;
  VoiceSet mTicking = 0;
  // Samples rendered, modulo 2^32. A free voice (active, not sounding) has its
  // phases advanced only up to mFreeSince[v] on this clock; they are brought
  // up to date, in one step, when the voice sounds again and when the set of
  // active voices or the sample rate changes. The count wraps with the
  // phases, which wrap at 2^28, so any number of samples since is exact.
  std::uint32_t mClock = 0;
  std::array<std::uint32_t, kVoiceCount> mFreeSince{};
};
