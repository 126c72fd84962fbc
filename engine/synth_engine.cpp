#include "engine/synth_engine.h"

#include <algorithm>
#include <cmath>

#include "engine/denormal_guard.h"
#include "engine/engine_constants.h"
#include "engine/engine_parameter.h"

namespace {

namespace p = engine_parameter;

constexpr int kStatusNoteOff = 0x80;
constexpr int kStatusNoteOn = 0x90;
constexpr int kStatusPolyPressure = 0xA0;
constexpr int kStatusControlChange = 0xB0;
constexpr int kStatusProgramChange = 0xC0;
constexpr int kStatusChannelPressure = 0xD0;
constexpr int kStatusPitchBend = 0xE0;
constexpr int kStatusSystem = 0xF0;
constexpr int kDataBitMask = 0x80;

constexpr int kLastLearnableController = EngineHost::kLearnableControllers - 1;
constexpr int kControllerModWheel = 1;
constexpr int kControllerSustain = 64;
constexpr int kControllerAllSoundOff = 120;
constexpr int kControllerAllNotesOff = 123;

constexpr double kDataScale = 127.0;
constexpr int kBendCentre = 8192;
constexpr double kBendScale = 8192.0;
// Further ahead than any host block; keeps offset arithmetic far from overflow.
constexpr int kMaxFrameOffset = 1 << 24;

constexpr double kSqrtTwo = 1.4142135623730951;
constexpr double kFmRange = 7681.0;
constexpr double kCutoffModulationRange = 21506.0;
constexpr double kKeyTrackRange = 2150.6;
// LFO phases span 2 per cycle and advance once per tick.
constexpr double kLfoCycleSpan = 2.0;
// The chorus LFOs cover a tenth of the "LFO Freq" range, above a small floor.
constexpr double kChorusLfoRangeFraction = 0.1;
constexpr double kLfoMaxHertz = 99.999;
constexpr double kChorusLfoFloor = 0.001;
constexpr double kChorusMaxDepth = 0.45;

bool IsDataByte(int byte) { return (byte & kDataBitMask) == 0; }

// Both increments are evaluated in exactly this order: a product regrouped for
// speed differs in the last bit, and the phases drift apart from there.
double LfoIncrement(double hertz) { return kLfoCycleSpan * hertz / kControlTicksPerSecond; }

double ChorusLfoIncrement(double normalized) {
  return (normalized * kChorusLfoRangeFraction * kLfoCycleSpan * kLfoMaxHertz + kChorusLfoFloor) /
         kControlTicksPerSecond;
}

}  // namespace

SynthEngine::SynthEngine(EngineHost& host) : SynthEngine(host, MtsLibrary::Installed()) {}

SynthEngine::SynthEngine(EngineHost& host, const MtsLibrary& tuningLibrary) : mHost(host), mTuning(tuningLibrary) {
  for (Voice& voice : mVoices) voice.BindEngineSources({&mBend, &mWheel, mLfo.OutputSource()});
}

SynthEngine::~SynthEngine() = default;

void SynthEngine::Reset(double sampleRate, int hostBlockSize) {
  mQueue.Reconfigure(hostBlockSize);
  mHeldNotes.Clear();
  mSamplesLeft = 0;
  if (!(sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate)) {
    mControlBlock = 0;
    mSampleRate = -1.0;
    mQueue.Clear();
    return;
  }
  mControlBlock = static_cast<int>(sampleRate) / kControlTicksPerSecond;
  if (sampleRate == mSampleRate) return;

  mSampleRate = sampleRate;
  mMix.assign(static_cast<std::size_t>(mControlBlock), 0.0);
  mBend = 0.0;
  mWheel = 0.0;
  mTables = PitchTables::ForSampleRate(sampleRate);
  CatchUpFreeVoices();
  for (Voice& voice : mVoices) voice.Reset(sampleRate, mTables.get());
  RescanVoices();
  mChorus.Reset(sampleRate);
  mChorus.SetLfoAIncrement(Chorus::kResetLfoAIncrement);
  mChorus.SetLfoBIncrement(Chorus::kResetLfoBIncrement);
  mChorus.SetDepth(Chorus::kResetDepth);
  mNoteCounter = 0;
}

void SynthEngine::ApplyParameter(int index, double value, double normalized) {
  if (index < 0 || index >= p::kCount) return;
  const p::Range& range = p::kRanges[index];
  const double v = p::ClampValue(value, range.min, range.max);
  const double e = p::ClampValue(normalized, 0.0, 1.0);
  switch (index) {
    case p::kVolume: {
      const double scaled = e * kSqrtTwo;
      mChorus.SetGain(scaled * scaled * 0.25);
      break;
    }
    case p::kMonophon: {
      const bool mono = static_cast<int>(v) != 0;
      if (mono && mActiveVoices != 1) {
        SetActiveVoiceCount(1);
        ReleaseAllVoices();
      } else if (!mono && mActiveVoices == 1) {
        SetActiveVoiceCount(kVoiceCount);
        ReleaseAllVoices();
      }
      ForEachVoice(index, v);
      break;
    }
    case p::kFmAmount: {
      const double bipolar = 2.0 * e - 1.0;
      ForEachVoice(index, std::fabs(bipolar) * bipolar * kFmRange);
      break;
    }
    case p::kFilterEnvAmount:
    case p::kFilterLfoAmount:
    case p::kFilterVelocity: ForEachVoice(index, (e - 0.5) * kCutoffModulationRange); break;
    case p::kFilterKeyTrack: ForEachVoice(index, e * kKeyTrackRange); break;
    case p::kFilterResonance:
    case p::kAmpVelocity:
    case p::kFilterEnvAttack:
    case p::kFilterEnvDecay:
    case p::kAmpEnvAttack:
    case p::kAmpEnvDecay:
    case p::kAmpEnvRelease: ForEachVoice(index, e); break;
    case p::kLfoWave: mLfo.SetWave(static_cast<int>(v)); break;
    case p::kLfoFrequency: mLfo.SetIncrement(LfoIncrement(v)); break;
    case p::kChorus: mChorus.SetOn(v >= 0.5); break;
    case p::kChorusLfo1: mChorus.SetLfoAIncrement(ChorusLfoIncrement(e)); break;
    case p::kChorusLfo2: mChorus.SetLfoBIncrement(ChorusLfoIncrement(e)); break;
    case p::kChorusDepth: mChorus.SetDepth(e * kChorusMaxDepth); break;
    default: ForEachVoice(index, v); break;
  }
}

void SynthEngine::ForEachVoice(int index, double x) {
  for (Voice& voice : mVoices) voice.SetParameter(index, x);
}

void SynthEngine::HandleMidiMessage(const MidiEvent& message) {
  const int status = message.status;
  if (status < kStatusNoteOff || status >= kStatusSystem) return;
  const int kind = status & 0xF0;
  // A data byte with its top bit set is not MIDI; such messages are dropped.
  const bool twoDataBytes = IsDataByte(message.data1) && IsDataByte(message.data2);
  switch (kind) {
    case kStatusNoteOff:
    case kStatusNoteOn:
    case kStatusPitchBend:
      if (!twoDataBytes) return;
      break;
    case kStatusChannelPressure:
      if (!IsDataByte(message.data1)) return;
      break;
    case kStatusPolyPressure: return;
    case kStatusProgramChange:
      if (IsDataByte(message.data1)) mHost.SelectProgramFromMidi(message.data1);
      return;
    case kStatusControlChange:
      if (!twoDataBytes) return;
      if (message.data1 <= kLastLearnableController) {
        if (mHost.OfferControllerToLearn(message.data1)) return;
        break;
      }
      if (message.data1 == kControllerAllSoundOff || message.data1 == kControllerAllNotesOff) ReleaseAllVoices();
      return;
    default: return;
  }
  // Nothing is ever rendered without a control block; queuing would only pile up.
  if (!IsPrepared()) return;
  MidiEvent event = message;
  event.frameOffset = std::clamp(event.frameOffset, 0, kMaxFrameOffset);
  // Events past the first control block go to the tick nearest to them.
  if (event.frameOffset > mControlBlock) event.frameOffset += mControlBlock / 2;
  mQueue.Insert(event);
}

void SynthEngine::RenderBlock(double* left, double* right, int frames) {
  if (frames <= 0) return;
  if (!IsPrepared()) {
    std::fill(left, left + frames, 0.0);
    std::fill(right, right + frames, 0.0);
    return;
  }
  DenormalGuard denormalGuard;
  while (frames > 0) {
    int n;
    if (mSamplesLeft <= 0) {
      ControlTick();
      if (frames >= mControlBlock) {
        n = mControlBlock;
      } else {
        n = frames;
        mSamplesLeft = mControlBlock - frames;
      }
    } else if (mSamplesLeft < frames) {
      n = mSamplesLeft;
      mSamplesLeft = 0;
    } else {
      n = frames;
      mSamplesLeft -= frames;
    }
    if (mSounding != 0) {
      double* mix = mMix.data();
      std::fill(mix, mix + n, 0.0);
      Voice::RenderVoices(mVoices.data(), mSounding, mix, n);
      mChorus.Process(mix, left, right, n);
    } else {
      mChorus.ProcessSilence(left, right, n);
    }
    mClock += static_cast<std::uint32_t>(n);
    left += n;
    right += n;
    frames -= n;
  }
}

void SynthEngine::ControlTick() {
  ++mControlTicks;
  ConsumeEvents();
  mLfo.Tick();
  mChorus.Tick();
  if (mTicking != 0) TickVoices();
}

// Idle voices are skipped: their tick would do nothing.
void SynthEngine::TickVoices() {
  for (VoiceSet pending = mTicking; pending != 0; pending &= pending - 1) {
    const int v = LowestSetBit(pending);
    Voice& voice = mVoices[v];
    voice.ControlTick();
    if (voice.IsSounding()) continue;
    if (mSounding & VoiceBit(v)) {
      mSounding &= ~VoiceBit(v);
      mFreeSince[v] = mClock;
    }
    if (voice.AmpEnvelope().CurrentStage() == Envelope::kIdle) mTicking &= ~VoiceBit(v);
  }
}

// A free voice's phases are brought up to date before it sounds again.
void SynthEngine::StartVoice(Voice& voice, int note, double pitch, int velocity, std::int64_t counter) {
  const int v = static_cast<int>(&voice - mVoices.data());
  if (!(mSounding & VoiceBit(v))) {
    voice.FreeRun(mClock - mFreeSince[v]);
    mFreeSince[v] = mClock;
  }
  voice.NoteOn(note, pitch, velocity, counter);
  mSounding |= VoiceBit(v);
  mTicking |= VoiceBit(v);
}

// Voices past the count neither render nor run on; those that come back in
// run on (or sound) from here.
void SynthEngine::SetActiveVoiceCount(int count) {
  CatchUpFreeVoices();
  mActiveVoices = count;
  RescanVoices();
}

void SynthEngine::CatchUpFreeVoices() {
  for (VoiceSet free = FirstVoices(mActiveVoices) & ~mSounding; free != 0; free &= free - 1) {
    const int v = LowestSetBit(free);
    mVoices[v].FreeRun(mClock - mFreeSince[v]);
    mFreeSince[v] = mClock;
  }
}

// Rebuilds the sets from the voices, every free voice's phases being current.
void SynthEngine::RescanVoices() {
  mSounding = 0;
  for (int v = 0; v < mActiveVoices; ++v) {
    if (mVoices[v].IsSounding()) mSounding |= VoiceBit(v);
    mFreeSince[v] = mClock;
  }
  mTicking = FirstVoices(mActiveVoices);
}

// Every event within this control block is dispatched at its start; the rest
// come one block closer. The event is copied out first: a mapped controller
// reaches ApplyParameter, which may release voices but never touches the queue.
void SynthEngine::ConsumeEvents() {
  // The last tick left nothing consumed behind: an empty queue has no work.
  if (mQueue.Pending() == 0) return;
  MidiEvent event;
  while (mQueue.TakeDue(mControlBlock, event)) Dispatch(event);
  mQueue.EndTick(mControlBlock);
}

void SynthEngine::Dispatch(const MidiEvent& event) {
  switch (event.status & 0xF0) {
    case kStatusNoteOn:
      if (event.data2 != 0) {
        NoteOn(event.data1, event.data2);
      } else {
        NoteOff(event.data1);
      }
      break;
    case kStatusNoteOff: NoteOff(event.data1); break;
    case kStatusControlChange:
      if (event.data1 == kControllerModWheel) {
        mWheel = event.data2 / kDataScale;
      } else if (event.data1 == kControllerSustain) {
        SustainPedal(event.data2 / kDataScale > 0.0);
      } else {
        mHost.ApplyMappedController(event.data1, event.data2 / kDataScale);
      }
      break;
    case kStatusPitchBend: mBend = (event.data1 + 128 * event.data2 - kBendCentre) / kBendScale; break;
    default: break;
  }
}

void SynthEngine::NoteOn(int note, int velocity) {
  if (mTuning.IsNoteFiltered(note)) return;
  mHeldNotes.Store(note, velocity);

  Voice* chosen = nullptr;
  for (int v = 0; v < mActiveVoices && !chosen; ++v) {
    if (mVoices[v].Note() == note) chosen = &mVoices[v];
  }
  for (int v = 0; v < mActiveVoices && !chosen; ++v) {
    if (mVoices[v].IsFree()) chosen = &mVoices[v];
  }
  if (!chosen) {
    chosen = &mVoices[0];
    for (int v = 1; v < mActiveVoices; ++v) {
      if (mVoices[v].Counter() < chosen->Counter()) chosen = &mVoices[v];
    }
  }
  ++mNoteCounter;
  StartVoice(*chosen, note, mTuning.NoteToPitchIndex(note), velocity, mNoteCounter);
  chosen->SetKeyDown(true);
}

void SynthEngine::NoteOff(int note) {
  mHeldNotes.Remove(note);
  Voice& mono = mVoices[0];
  int highest = 0;
  int velocity = 0;
  if (mActiveVoices == 1 && mono.Note() == note && (mono.IsSounding() || mono.IsKeyDown()) &&
      mHeldNotes.Highest(highest, velocity)) {
    // Releasing the sounding key returns to the highest key still down.
    if (highest != mono.Note()) {
      StartVoice(mono, highest, mTuning.NoteToPitchIndex(highest), velocity, mono.Counter());
      mono.SetKeyDown(true);
    }
    return;
  }
  for (int v = 0; v < mActiveVoices; ++v) {
    if (mVoices[v].Note() == note) {
      mVoices[v].NoteOff();
      mTicking |= VoiceBit(v);
      return;
    }
  }
}

void SynthEngine::SustainPedal(bool down) {
  mTicking = FirstVoices(mActiveVoices);
  for (Voice& voice : mVoices) {
    if (down) {
      voice.SetSustained(true);
      continue;
    }
    voice.SetSustained(false);
    if (!voice.IsKeyDown()) voice.NoteOff();
  }
}

void SynthEngine::ReleaseAllVoices() {
  mHeldNotes.Clear();
  mTicking = FirstVoices(mActiveVoices);
  for (Voice& voice : mVoices) {
    voice.SetSustained(false);
    voice.NoteOff();
  }
}
