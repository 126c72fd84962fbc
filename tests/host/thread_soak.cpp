#include "tests/host/thread_soak.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/host/audio_render.h"
#include "tests/host/check_report.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"
#include "tests/host/state_chunks.h"
#include "tests/host/vorn_facts.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr float kSampleRate = 48000.0f;
constexpr int kBlockSize = 256;
constexpr std::uint32_t kAudioSeed = 17;
constexpr std::uint32_t kControlSeed = 29;
// Pause of the user-interface thread between two operations.
constexpr auto kControlPause = std::chrono::microseconds(200);

struct AudioTally {
  long blocks = 0;
  long nonFinite = 0;
};

// Audio thread: MIDI before some blocks, then a block through one of the
// three callbacks, until told to stop.
void RenderLoop(const PluginInstance& instance, const std::atomic<bool>& stop, AudioTally& tally) {
  std::mt19937 random(kAudioSeed);
  std::vector<float> left(kBlockSize), right(kBlockSize);
  std::vector<double> leftD(kBlockSize), rightD(kBlockSize);
  float* outputs[2] = {left.data(), right.data()};
  double* outputsD[2] = {leftD.data(), rightD.data()};
  vst2::AEffect* effect = instance.effect();
  while (!stop.load()) {
    EventList events;
    int kind = static_cast<int>(random() % 16);
    std::uint8_t note = static_cast<std::uint8_t>(36 + random() % 48);
    int delta = static_cast<int>(random() % kBlockSize);
    if (kind < 6)
      events.Midi(delta, kNoteOn, note, static_cast<std::uint8_t>(1 + random() % 127));
    else if (kind < 10)
      events.Midi(delta, kNoteOff, note, 0);
    else if (kind == 10)
      events.Midi(delta, kProgramChange, static_cast<std::uint8_t>(random() % 64), 0);
    else if (kind == 11)
      events.Midi(delta, kPitchBend, 0, static_cast<std::uint8_t>(random() % 128));
    else if (kind == 12)
      events.Midi(delta, kControlChange, 1, static_cast<std::uint8_t>(random() % 128));
    else if (kind == 13)
      events.Midi(delta, kControlChange, 64, static_cast<std::uint8_t>(random() % 2 * 127));
    instance.Dispatch(vst2::effProcessEvents, 0, 0, events.Events());

    int path = static_cast<int>(random() % 3);
    if (path == 0) {
      effect->processReplacing(effect, nullptr, outputs, kBlockSize);
    } else if (path == 1) {
      effect->processDoubleReplacing(effect, nullptr, outputsD, kBlockSize);
      for (int i = 0; i < kBlockSize; ++i) {
        left[i] = static_cast<float>(leftD[i]);
        right[i] = static_cast<float>(rightD[i]);
      }
    } else {
      std::fill(left.begin(), left.end(), 0.0f);
      std::fill(right.begin(), right.end(), 0.0f);
      effect->process(effect, nullptr, outputs, kBlockSize);
    }
    for (int i = 0; i < kBlockSize; ++i) {
      if (!std::isfinite(left[i]) || !std::isfinite(right[i])) ++tally.nonFinite;
    }
    ++tally.blocks;
  }
}

// User-interface thread: automation, program switches, chunks, texts.
long ControlLoop(const PluginInstance& instance, Clock::time_point end) {
  std::mt19937 random(kControlSeed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  long operations = 0;
  char text[kTextBufferSize];
  while (Clock::now() < end) {
    std::int32_t parameter = static_cast<std::int32_t>(random() % vorn_facts::kParameterCount);
    switch (random() % 8) {
      case 0:
      case 1: instance.SetParameter(parameter, unit(random)); break;
      case 2:
        instance.GetParameter(parameter);
        instance.Dispatch(vst2::effGetParamDisplay, parameter, 0, text);
        break;
      case 3: instance.SelectProgram(static_cast<std::int32_t>(random() % vorn_facts::kProgramCount)); break;
      case 4: {
        std::vector<unsigned char> chunk = GetChunk(instance, kProgramChunk);
        SetChunk(instance, kProgramChunk, chunk);
        break;
      }
      case 5: {
        std::vector<unsigned char> chunk = GetChunk(instance, kBankChunk);
        SetChunk(instance, kBankChunk, chunk);
        break;
      }
      case 6:
        std::snprintf(text, sizeof(text), "Soak %ld", operations);
        instance.Dispatch(vst2::effSetProgramName, 0, 0, text);
        instance.Dispatch(vst2::effGetProgramNameIndexed, parameter, 0, text);
        break;
      default:
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(random() % 100));
        instance.Dispatch(vst2::effString2Parameter, parameter, 0, text);
        break;
    }
    ++operations;
    std::this_thread::sleep_for(kControlPause);
  }
  return operations;
}

}  // namespace

void RunThreadSoak(vst2::EntryPoint entry, double seconds, CheckReport& report) {
  report.BeginArea("threads");
  PluginInstance instance(entry);
  report.True(instance.IsValid(), "VSTPluginMain returns an effect record");
  if (!instance.IsValid()) return;
  instance.Start(kSampleRate, kBlockSize);

  std::atomic<bool> stop{false};
  AudioTally tally;
  auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  std::thread audio([&] { RenderLoop(instance, stop, tally); });
  long operations = ControlLoop(instance, end);
  stop.store(true);
  audio.join();

  report.True(tally.blocks > 0, "audio thread rendered blocks", std::to_string(tally.blocks));
  report.True(operations > 0, "control thread made changes", std::to_string(operations));
  report.Equal("non-finite samples rendered while the other thread worked", 0, tally.nonFinite);
  std::printf("threads: %ld blocks rendered, %ld control operations in %.1f s\n", tally.blocks, operations, seconds);

  // Both threads done, the instance still plays.
  instance.SelectProgram(vorn_facts::kInitProgram);
  EventList note;
  note.Midi(0, kNoteOn, 60, 100);
  instance.Dispatch(vst2::effProcessEvents, 0, 0, note.Events());
  StereoAudio audioAfter = Render(instance, AudioPath::kFloatReplacing, 4096, kBlockSize);
  report.True(IsFinite(audioAfter) && Peak(audioAfter) > 1e-3, "instance plays after the soak",
              "peak " + Number(Peak(audioAfter)));
}
