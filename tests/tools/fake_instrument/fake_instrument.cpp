#include "tests/tools/fake_instrument/fake_instrument.h"

#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fake {
namespace {

constexpr int kParameterCount = 2;
constexpr int kGain = 0;
constexpr int kOctave = 1;
constexpr int kProgramCount = 4;
constexpr int kVoiceCount = 16;
constexpr int kOctaveRange = 2;  // normalised 0 .. 1 covers -2 .. +2 octaves
constexpr double kTwoPi = 6.283185307179586;
constexpr char kProgramChunkTag[4] = {'F', 'K', 'P', 'G'};
constexpr char kBankChunkTag[4] = {'F', 'K', 'B', 'K'};

struct Program {
  char name[32];
  float values[kParameterCount];
};

struct Voice {
  int key = -1;
  double phase = 0.0;
  double increment = 0.0;
  double amplitude = 0.0;
};

class Instrument {
 public:
  explicit Instrument(vst2::HostCallback host) : host_(host) {
    if (const char* path = std::getenv("FAKE_VST_LOG")) log_ = std::fopen(path, "a");
    const Program defaults[kProgramCount] = {{"Plain Sine", {0.5f, 0.5f}},
                                             {"Quiet Sine", {0.1f, 0.5f}},
                                             {"Octave Up", {0.5f, 0.75f}},
                                             {"Deep Drone", {0.8f, 0.25f}}};
    std::memcpy(programs_, defaults, sizeof programs_);
    effect_.magic = vst2::kEffectMagic;
    effect_.dispatcher = &Dispatcher;
    effect_.process = &ProcessAccumulating;
    effect_.processReplacing = &ProcessReplacing;
    effect_.setParameter = &SetParameter;
    effect_.getParameter = &GetParameter;
    effect_.numPrograms = kProgramCount;
    effect_.numParams = kParameterCount;
    effect_.numInputs = 0;
    effect_.numOutputs = 2;
    effect_.flags = vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks | vst2::effFlagsIsSynth;
    effect_.ioRatio = 1.0f;
    effect_.object = this;
    effect_.uniqueID = kUniqueId;
    effect_.version = 1;
    Log("created host-version=%ld", static_cast<long>(host_(nullptr, vst2::audioMasterVersion, 0, 0, nullptr, 0)));
  }

  ~Instrument() {
    if (log_) std::fclose(log_);
  }

  vst2::AEffect* Effect() { return &effect_; }

 private:
  static Instrument* From(vst2::AEffect* effect) { return static_cast<Instrument*>(effect->object); }

  void Log(const char* format, ...) {
    if (!log_) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(log_, format, args);
    va_end(args);
    std::fputc('\n', log_);
    std::fflush(log_);
  }

  vst2::IntPtr Ask(std::int32_t opcode, std::int32_t index = 0, vst2::IntPtr value = 0, void* ptr = nullptr) {
    return host_(&effect_, opcode, index, value, ptr, 0.0f);
  }

  void LogHostAnswers() {
    char product[256] = {};
    char vendor[256] = {};
    Ask(vst2::audioMasterGetProductString, 0, 0, product);
    Ask(vst2::audioMasterGetVendorString, 0, 0, vendor);
    char canDo[] = "sendVstTimeInfo";
    char cannot[] = "sizeWindow";
    Log("host product=%s vendor=%s vendor-version=%ld rate=%ld block=%ld cando-time=%ld cando-size=%ld "
        "want-midi=%ld unknown=%ld",
        product, vendor, static_cast<long>(Ask(vst2::audioMasterGetVendorVersion)),
        static_cast<long>(Ask(vst2::audioMasterGetSampleRate)), static_cast<long>(Ask(vst2::audioMasterGetBlockSize)),
        static_cast<long>(Ask(vst2::audioMasterCanDo, 0, 0, canDo)),
        static_cast<long>(Ask(vst2::audioMasterCanDo, 0, 0, cannot)), static_cast<long>(Ask(vst2::audioMasterWantMidi)),
        static_cast<long>(Ask(9999)));
  }

  static vst2::IntPtr VST_CALL Dispatcher(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                          vst2::IntPtr value, void* ptr, float opt) {
    Instrument* self = From(effect);
    const vst2::IntPtr answer = self->Dispatch(opcode, index, value, ptr, opt);
    if (opcode == vst2::effClose) delete self;
    return answer;
  }

  vst2::IntPtr Dispatch(std::int32_t opcode, std::int32_t index, vst2::IntPtr value, void* ptr, float opt) {
    switch (opcode) {
      case vst2::effOpen:
        Log("effOpen");
        LogHostAnswers();
        return 0;
      case vst2::effClose: Log("effClose"); return 0;
      case vst2::effSetSampleRate:
        sampleRate_ = opt;
        Log("effSetSampleRate %g", static_cast<double>(opt));
        return 0;
      case vst2::effSetBlockSize:
        blockSize_ = static_cast<int>(value);
        Log("effSetBlockSize %ld", static_cast<long>(value));
        return 0;
      case vst2::effMainsChanged:
        Log("effMainsChanged %ld", static_cast<long>(value));
        if (!value) Silence();
        return 0;
      case vst2::effSetProgram:
        Log("effSetProgram %ld", static_cast<long>(value));
        if (value >= 0 && value < kProgramCount) current_ = static_cast<int>(value);
        return 0;
      case vst2::effGetProgram: return current_;
      case vst2::effSetProgramName:
        if (ptr) {
          std::snprintf(programs_[current_].name, sizeof programs_[current_].name, "%s", static_cast<char*>(ptr));
          Log("effSetProgramName %s", programs_[current_].name);
        }
        return 0;
      case vst2::effGetProgramName:
        if (ptr) std::snprintf(static_cast<char*>(ptr), vst2::kVstMaxProgNameLen, "%s", programs_[current_].name);
        return 0;
      case vst2::effGetProgramNameIndexed:
        if (!ptr || index < 0 || index >= kProgramCount) return 0;
        std::snprintf(static_cast<char*>(ptr), vst2::kVstMaxProgNameLen, "%s", programs_[index].name);
        return 1;
      case vst2::effGetParamName:
      case vst2::effGetParamLabel:
      case vst2::effGetParamDisplay: return ParameterText(opcode, index, static_cast<char*>(ptr));
      case vst2::effGetEffectName:
      case vst2::effGetProductString:
        if (ptr) std::snprintf(static_cast<char*>(ptr), vst2::kVstMaxEffectNameLen, "Fake Instrument");
        return ptr ? 1 : 0;
      case vst2::effGetVendorString:
        if (ptr) std::snprintf(static_cast<char*>(ptr), vst2::kVstMaxVendorStrLen, "Vorn Tests");
        return ptr ? 1 : 0;
      case vst2::effGetVendorVersion: return 7;
      case vst2::effGetVstVersion: return 2400;
      case vst2::effGetPlugCategory: return vst2::kPlugCategSynth;
      case vst2::effGetChunk: return GetChunk(index, static_cast<void**>(ptr));
      case vst2::effSetChunk:
        return SetChunk(index, static_cast<const unsigned char*>(ptr), static_cast<std::size_t>(value));
      case vst2::effProcessEvents:
        if (ptr) TakeEvents(static_cast<vst2::VstEvents*>(ptr));
        return 1;
      default: return 0;
    }
  }

  vst2::IntPtr ParameterText(std::int32_t opcode, std::int32_t index, char* text) {
    if (!text || index < 0 || index >= kParameterCount) return 0;
    const float value = programs_[current_].values[index];
    if (opcode == vst2::effGetParamName) {
      std::snprintf(text, vst2::kVstMaxParamStrLen, "%s", index == kGain ? "Gain" : "Octave");
    } else if (opcode == vst2::effGetParamLabel) {
      std::snprintf(text, vst2::kVstMaxParamStrLen, "%s", index == kGain ? "x" : "oct");
    } else if (index == kGain) {
      std::snprintf(text, vst2::kVstMaxParamStrLen, "%.2f", static_cast<double>(value));
    } else {
      std::snprintf(text, vst2::kVstMaxParamStrLen, "%+d", static_cast<signed char>(OctaveShift()));
    }
    return 0;
  }

  int OctaveShift() const {
    return static_cast<int>(std::lround(programs_[current_].values[kOctave] * 2 * kOctaveRange)) - kOctaveRange;
  }

  // Program chunk: the tag, then the current program's two values as floats.
  // Bank chunk: the tag, then all programs' values.
  vst2::IntPtr GetChunk(std::int32_t index, void** data) {
    if (!data) return 0;
    const bool bank = index == 0;
    const char* tag = bank ? kBankChunkTag : kProgramChunkTag;
    chunk_.assign(tag, tag + 4);
    for (int p = bank ? 0 : current_; p < (bank ? kProgramCount : current_ + 1); ++p) {
      unsigned char bytes[sizeof(Program::values)];
      std::memcpy(bytes, programs_[p].values, sizeof bytes);
      chunk_.insert(chunk_.end(), bytes, bytes + sizeof bytes);
    }
    *data = chunk_.data();
    return static_cast<vst2::IntPtr>(chunk_.size());
  }

  vst2::IntPtr SetChunk(std::int32_t index, const unsigned char* data, std::size_t size) {
    std::string hex;
    for (std::size_t i = 0; data && i < size; ++i) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02x", data[i]);
      hex += pair;
    }
    Log("effSetChunk index=%d size=%zu data=%s", index, size, hex.c_str());
    const bool bank = index == 0;
    const int programs = bank ? kProgramCount : 1;
    const std::size_t expected = 4 + programs * sizeof(Program::values);
    if (!data || size != expected || std::memcmp(data, bank ? kBankChunkTag : kProgramChunkTag, 4) != 0) return 0;
    for (int p = 0; p < programs; ++p)
      std::memcpy(programs_[bank ? p : current_].values, data + 4 + p * sizeof(Program::values),
                  sizeof(Program::values));
    return 1;
  }

  void TakeEvents(const vst2::VstEvents* events) {
    // The list holds numEvents pointers, more than the two it is declared with.
    const auto* pointers = reinterpret_cast<vst2::VstEvent* const*>(reinterpret_cast<const char*>(events) +
                                                                    offsetof(vst2::VstEvents, events));
    for (std::int32_t i = 0; i < events->numEvents; ++i) {
      const vst2::VstEvent* event = pointers[i];
      if (!event || event->type != vst2::kVstMidiType) continue;
      const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(event);
      const auto status = static_cast<unsigned char>(midi->midiData[0]);
      const int key = midi->midiData[1] & 0x7F;
      const int velocity = midi->midiData[2] & 0x7F;
      Log("event frame=%lld delta=%d bytes=%02x %02x %02x", static_cast<long long>(blockStart_) + midi->deltaFrames,
          midi->deltaFrames, status, key, velocity);
      if (pendingCount_ < kMaxPending) pending_[pendingCount_++] = *midi;
    }
  }

  void StartNote(int key, int velocity) {
    for (Voice& voice : voices_) {
      if (voice.key >= 0) continue;
      const double frequency = 440.0 * std::pow(2.0, (key - 69) / 12.0 + OctaveShift());
      voice.key = key;
      voice.phase = 0.0;
      voice.increment = kTwoPi * frequency / sampleRate_;
      voice.amplitude = programs_[current_].values[kGain] * velocity / 127.0;
      return;
    }
  }

  void StopNote(int key) {
    for (Voice& voice : voices_) {
      if (voice.key == key) voice.key = -1;
    }
  }

  void Silence() {
    for (Voice& voice : voices_) voice.key = -1;
  }

  void Apply(const vst2::VstMidiEvent& event) {
    const auto status = static_cast<unsigned char>(event.midiData[0]) & 0xF0;
    const int key = event.midiData[1] & 0x7F;
    const int velocity = event.midiData[2] & 0x7F;
    if (status == 0x90 && velocity > 0) StartNote(key, velocity);
    if (status == 0x80 || (status == 0x90 && velocity == 0)) StopNote(key);
  }

  void Render(float** outputs, std::int32_t frames, bool accumulate) {
    auto* time = reinterpret_cast<vst2::VstTimeInfo*>(Ask(vst2::audioMasterGetTime, 0, vst2::kVstTempoValid));
    if (time) {
      Log("block start=%.0f frames=%d tempo=%.3f ppq=%.4f bar=%.4f sig=%d/%d flags=0x%x", time->samplePos, frames,
          time->tempo, time->ppqPos, time->barStartPos, time->timeSigNumerator, time->timeSigDenominator,
          static_cast<unsigned>(time->flags));
    }
    if (frames > blockSize_) Log("error: %d frames in a block of %d", frames, blockSize_);
    int next = 0;
    for (std::int32_t i = 0; i < frames; ++i) {
      while (next < pendingCount_ && pending_[next].deltaFrames <= i) Apply(pending_[next++]);
      double sum = 0.0;
      for (Voice& voice : voices_) {
        if (voice.key < 0) continue;
        sum += voice.amplitude * std::cos(voice.phase);
        voice.phase = std::fmod(voice.phase + voice.increment, kTwoPi);
      }
      for (int c = 0; c < 2; ++c) {
        if (accumulate)
          outputs[c][i] += static_cast<float>(sum);
        else
          outputs[c][i] = static_cast<float>(sum);
      }
    }
    while (next < pendingCount_) Apply(pending_[next++]);
    pendingCount_ = 0;
    blockStart_ += frames;
  }

  static void VST_CALL ProcessReplacing(vst2::AEffect* effect, float**, float** outputs, std::int32_t frames) {
    From(effect)->Render(outputs, frames, false);
  }
  static void VST_CALL ProcessAccumulating(vst2::AEffect* effect, float**, float** outputs, std::int32_t frames) {
    From(effect)->Render(outputs, frames, true);
  }
  static void VST_CALL SetParameter(vst2::AEffect* effect, std::int32_t index, float value) {
    Instrument* self = From(effect);
    self->Log("setParameter %d %.4f", index, static_cast<double>(value));
    if (index >= 0 && index < kParameterCount) self->programs_[self->current_].values[index] = value;
  }
  static float VST_CALL GetParameter(vst2::AEffect* effect, std::int32_t index) {
    Instrument* self = From(effect);
    return index >= 0 && index < kParameterCount ? self->programs_[self->current_].values[index] : 0.0f;
  }

  static constexpr int kMaxPending = 512;

  vst2::AEffect effect_{};
  vst2::HostCallback host_;
  std::FILE* log_ = nullptr;
  Program programs_[kProgramCount];
  int current_ = 0;
  float sampleRate_ = 44100.0f;
  int blockSize_ = 1024;
  long long blockStart_ = 0;
  Voice voices_[kVoiceCount];
  vst2::VstMidiEvent pending_[kMaxPending];
  int pendingCount_ = 0;
  std::vector<unsigned char> chunk_;
};

}  // namespace

vst2::AEffect* CreateFakeInstrument(vst2::HostCallback host) { return (new Instrument(host))->Effect(); }

}  // namespace fake
