// Prints what the plug-in library costs per voice, measured the way a host
// runs it: loaded through VSTPluginMain, 48000 Hz, blocks of 512, held notes
// sent with effProcessEvents and blocks rendered with processReplacing. For
// each patch (the first factory program, and "bright": sync, LFO FM, resonant
// Smooth filter with LFO, chorus on, set through the parameters) and each
// voice count it prints nanoseconds of thread CPU time per voice-sample and
// the realtime factor of held notes once they have come to rest, the best of
// a few runs (the machine may be shared), and beside them the cost of the
// notes' first 4 s, while their envelopes still move, struck again in a new
// instance for every run. Figures only, no pass or fail.
//
// Usage: vorn-voice-cost [--seconds S] [--runs N] [--voices N,N...] <plug-in library>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/bright_patch.h"
#include "bench/voice_cost/thread_cpu_time.h"
#include "engine/engine_parameter.h"
#include "engine/platform/dynamic_library.h"
#include "plugin/vst2/vst2_abi.h"

namespace {

namespace p = engine_parameter;

constexpr float kRate = 48000.0f;
constexpr std::int32_t kBlock = 512;
constexpr int kMaxVoices = 64;
// The first 4 s after the note-ons, then the blocks until held notes have come
// to rest: the first factory program's filter envelope stops moving the cutoff
// index after about 25 s.
constexpr int kNoteStartBlocks = static_cast<int>(4 * kRate / kBlock);
constexpr int kBlocksToRest = static_cast<int>(30 * kRate / kBlock);

struct Options {
  double seconds = 1.0;  // CPU time each run renders for at least
  int runs = 3;
  std::vector<int> voices = {16, 64};
  std::string plugin;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seconds" && hasValue) {
      options.seconds = std::atof(argv[++i]);
    } else if (arg == "--runs" && hasValue) {
      options.runs = std::atoi(argv[++i]);
    } else if (arg == "--voices" && hasValue) {
      options.voices.clear();
      for (const char* text = argv[++i]; *text != '\0';) {
        char* end = nullptr;
        const long count = std::strtol(text, &end, 10);
        if (end == text || count < 1 || count > kMaxVoices) return false;
        options.voices.push_back(static_cast<int>(count));
        text = *end == ',' ? end + 1 : end;
        if (*end != ',' && *end != '\0') return false;
      }
    } else if (!arg.empty() && arg[0] != '-' && options.plugin.empty()) {
      options.plugin = arg;
    } else {
      return false;
    }
  }
  return !options.plugin.empty() && options.seconds > 0.0 && options.runs > 0 && !options.voices.empty();
}

vst2::IntPtr VST_CALL HostCallback(vst2::AEffect*, std::int32_t opcode, std::int32_t, vst2::IntPtr, void*, float) {
  switch (opcode) {
    case vst2::audioMasterVersion: return 2400;
    case vst2::audioMasterGetSampleRate: return static_cast<vst2::IntPtr>(kRate);
    case vst2::audioMasterGetBlockSize: return kBlock;
    default: return 0;
  }
}

// Note-ons for `count` voices, spread over the first block as the engine
// benchmark plays them.
class NoteOns {
 public:
  explicit NoteOns(int count) {
    header_.numEvents = count;
    for (int i = 0; i < count; ++i) {
      vst2::VstMidiEvent& event = midi_[i];
      event.type = vst2::kVstMidiType;
      event.byteSize = sizeof(vst2::VstMidiEvent);
      event.deltaFrames = i % kBlock;
      event.midiData[0] = static_cast<char>(0x90);
      event.midiData[1] = static_cast<char>(30 + i);
      event.midiData[2] = static_cast<char>(64 + i % 64);
      header_.events[i] = reinterpret_cast<vst2::VstEvent*>(&event);
    }
  }
  vst2::VstEvents* Events() { return reinterpret_cast<vst2::VstEvents*>(&header_); }

 private:
  // The published record declares two event pointers; hosts allocate as many
  // as they send.
  struct Header {
    std::int32_t numEvents;
    vst2::IntPtr reserved;
    vst2::VstEvent* events[kMaxVoices];
  };
  Header header_{};
  vst2::VstMidiEvent midi_[kMaxVoices]{};
};

enum class Patch { kFirstFactoryProgram, kBright };

const char* PatchName(Patch patch) { return patch == Patch::kBright ? "bright" : "first factory program"; }

void SetValue(vst2::AEffect* effect, int index, double value) {
  effect->setParameter(effect, index, static_cast<float>(p::Normalize(index, value)));
}

// The engine benchmark's "bright" patch.
void ApplyBright(vst2::AEffect* effect) {
  for (int index = 0; index < p::kCount; ++index) SetValue(effect, index, p::kRanges[index].defaultValue);
  for (const auto& [index, value] : kBrightPatch) SetValue(effect, index, value);
}

struct Figures {
  double nsPerVoiceSample = 0.0;
  double realtimeFactor = 0.0;
  double noteStartNsPerVoiceSample = 0.0;
  float peak = 0.0f;
};

// One instance of the plug-in set to a patch, rendering into channels of its own.
class Instance {
 public:
  Instance(vst2::EntryPoint entry, Patch patch) : effect_(entry(HostCallback)) {
    if (!Usable()) return;
    Dispatch(vst2::effOpen, 0, nullptr, 0.0f);
    Dispatch(vst2::effSetSampleRate, 0, nullptr, kRate);
    Dispatch(vst2::effSetBlockSize, kBlock, nullptr, 0.0f);
    Dispatch(vst2::effSetProgram, 0, nullptr, 0.0f);
    if (patch == Patch::kBright) ApplyBright(effect_);
    Dispatch(vst2::effMainsChanged, 1, nullptr, 0.0f);
    channels_.assign(static_cast<std::size_t>(std::max(effect_->numInputs, effect_->numOutputs)),
                     std::vector<float>(kBlock));
    for (auto& channel : channels_) pointers_.push_back(channel.data());
  }
  ~Instance() {
    if (!Usable()) return;
    Dispatch(vst2::effMainsChanged, 0, nullptr, 0.0f);
    Dispatch(vst2::effClose, 0, nullptr, 0.0f);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  bool Usable() const { return effect_ != nullptr && effect_->magic == vst2::kEffectMagic && effect_->numOutputs >= 2; }

  void Strike(int voices) {
    NoteOns notes(voices);
    Dispatch(vst2::effProcessEvents, 0, notes.Events(), 0.0f);
  }

  void Render(long blocks) {
    for (long i = 0; i < blocks; ++i) effect_->processReplacing(effect_, pointers_.data(), pointers_.data(), kBlock);
  }

  // The loudest sample of the last block.
  float Peak() const {
    float peak = 0.0f;
    for (const auto& channel : channels_)
      for (float sample : channel) peak = std::max(peak, std::fabs(sample));
    return peak;
  }

 private:
  void Dispatch(std::int32_t opcode, vst2::IntPtr value, void* ptr, float opt) {
    effect_->dispatcher(effect_, opcode, 0, value, ptr, opt);
  }

  vst2::AEffect* effect_;
  std::vector<std::vector<float>> channels_;
  std::vector<float*> pointers_;
};

// Thread CPU seconds per block of rendering `blocks` blocks.
double CpuPerBlock(Instance& instance, long blocks) {
  const double start = ThreadCpuSeconds();
  instance.Render(blocks);
  return (ThreadCpuSeconds() - start) / static_cast<double>(blocks);
}

// `voices` held notes of `patch`, `runs` times each: the first blocks of the
// notes, struck in a new instance every run; then, in the last instance, held
// notes at rest, rendered until `seconds` of CPU time have gone. Keeps the
// cheapest run of each.
bool Measure(vst2::EntryPoint entry, Patch patch, int voices, const Options& options, Figures& figures) {
  const auto nsPerVoiceSample = [voices](double secondsPerBlock) {
    return secondsPerBlock * 1e9 / (static_cast<double>(kBlock) * voices);
  };
  std::unique_ptr<Instance> instance;
  double bestStart = 0.0;
  for (int run = 0; run < options.runs; ++run) {
    instance = std::make_unique<Instance>(entry, patch);
    if (!instance->Usable()) return false;
    instance->Strike(voices);
    const double perBlock = CpuPerBlock(*instance, kNoteStartBlocks);
    if (run == 0 || perBlock < bestStart) bestStart = perBlock;
  }
  instance->Render(kBlocksToRest - kNoteStartBlocks);

  double best = 0.0;
  for (int run = 0; run < options.runs; ++run) {
    long blocks = 0;
    const double start = ThreadCpuSeconds();
    double used = 0.0;
    do {
      instance->Render(16);
      blocks += 16;
      used = ThreadCpuSeconds() - start;
    } while (used < options.seconds);
    const double perBlock = used / static_cast<double>(blocks);
    if (run == 0 || perBlock < best) best = perBlock;
  }
  figures.peak = instance->Peak();
  figures.nsPerVoiceSample = nsPerVoiceSample(best);
  figures.realtimeFactor = (kBlock / static_cast<double>(kRate)) / best;
  figures.noteStartNsPerVoiceSample = nsPerVoiceSample(bestStart);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--seconds S] [--runs N] [--voices N,N...] <plug-in library>\n", argv[0]);
    return 2;
  }
  std::string error;
  dynamic_library::Handle library = dynamic_library::Open(options.plugin, error);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", options.plugin.c_str(), error.c_str());
    return 1;
  }
  const auto entry = reinterpret_cast<vst2::EntryPoint>(dynamic_library::Find(library, "VSTPluginMain"));
  if (entry == nullptr) {
    std::fprintf(stderr, "%s exports no VSTPluginMain\n", options.plugin.c_str());
    dynamic_library::Close(library);
    return 1;
  }
  std::printf("%s: %d-bit host, 48000 Hz, block 512, best of %d runs of %.1f s CPU time each\n", options.plugin.c_str(),
              static_cast<int>(sizeof(void*) * 8), options.runs, options.seconds);
  int failed = 0;
  for (Patch patch : {Patch::kFirstFactoryProgram, Patch::kBright}) {
    for (int voices : options.voices) {
      Figures figures;
      if (!Measure(entry, patch, voices, options, figures)) {
        std::printf("  %-22s %2d voices: no usable effect record\n", PatchName(patch), voices);
        ++failed;
        continue;
      }
      // A silent output would mean the notes never sounded: the figure would
      // say nothing about the voices.
      const char* warning = figures.peak > 0.0f ? "" : "  (silent output!)";
      std::printf(
          "  %-22s %2d voices: %6.2f ns per voice-sample, realtime factor %7.1f; first 4 s of the notes %6.2f ns%s\n",
          PatchName(patch), voices, figures.nsPerVoiceSample, figures.realtimeFactor, figures.noteStartNsPerVoiceSample,
          warning);
    }
  }
  dynamic_library::Close(library);
  return failed == 0 ? 0 : 1;
}
