// The audio side of the chaos host: process calls of every kind and size,
// MIDI lists of every kind, sample rates, block sizes and the order of
// suspend and resume.
#include <cmath>
#include <cstdio>
#include <string>
#include <type_traits>

#include "tests/chaos/chaos_host.h"
#include "tests/chaos/library_allocations.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"

namespace {

enum Path { kReplacing, kAccumulating, kDouble };

// Written past the frames of a call; the plug-in must leave it alone.
constexpr float kCanary = 12345.0f;

constexpr float kRates[] = {8000.0f,  11025.0f, 22050.0f,  32000.0f,  44100.0f, 48000.0f,
                            88200.0f, 96000.0f, 176400.0f, 192000.0f, 384000.0f};

// Status bytes of every channel-voice kind and the system messages.
constexpr std::uint8_t kStatusKinds[] = {0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0};
constexpr std::uint8_t kSystemStatus[] = {0xF0, 0xF1, 0xF2, 0xF3, 0xF6, 0xF7, 0xF8, 0xFA, 0xFB, 0xFC, 0xFE, 0xFF};
// Controllers with meanings of their own: modulation, breath, volume, pan,
// expression, sustain, sound controllers, data entry, (N)RPN and the
// channel-mode messages.
constexpr std::uint8_t kControllers[] = {0,  1,  2,  6,  7,  10,  11,  32,  38,  64,  65,  66,  67, 71,
                                         74, 96, 97, 98, 99, 100, 101, 120, 121, 122, 123, 124, 127};

}  // namespace

void ChaosHost::Process(Slot& slot) {
  int announced = slot.announcedBlock > 0 ? slot.announcedBlock : 1;
  int frames = 0;
  switch (random_.Below(6)) {
    case 0: frames = 0; break;
    case 1: frames = 1; break;
    case 2: frames = announced; break;
    case 3: frames = announced + random_.Between(1, announced); break;  // larger than announced
    default: frames = random_.Between(1, announced); break;
  }
  if (frames > kLargestCallFrames) frames = kLargestCallFrames;
  if (random_.Chance(300)) SendMidi(slot, frames);
  int path = random_.Below(3);
  if (path == kDouble)
    ProcessWith<double>(slot, path, frames);
  else
    ProcessWith<float>(slot, path, frames);
}

template <typename Sample>
void ChaosHost::ProcessWith(Slot& slot, int path, int frames) {
  std::vector<Sample>& left = [this]() -> std::vector<Sample>& {
    if constexpr (std::is_same_v<Sample, double>)
      return leftDouble_;
    else
      return left_;
  }();
  std::vector<Sample>& right = [this]() -> std::vector<Sample>& {
    if constexpr (std::is_same_v<Sample, double>)
      return rightDouble_;
    else
      return right_;
  }();
  // The accumulating call adds to what the host's buffers hold.
  const Sample prefill = path == kAccumulating ? static_cast<Sample>(random_.Unit() - 0.5f) : Sample(0);
  const Sample before = path == kReplacing || path == kDouble ? static_cast<Sample>(kCanary) : prefill;
  for (int i = 0; i < frames; ++i) left[static_cast<std::size_t>(i)] = right[static_cast<std::size_t>(i)] = before;
  left[static_cast<std::size_t>(frames)] = right[static_cast<std::size_t>(frames)] = static_cast<Sample>(kCanary);
  Sample* outputs[2] = {left.data(), right.data()};
  vst2::AEffect* effect = slot.plugin->effect();
  const std::size_t allocationsBefore = ThreadLibraryAllocations();
  if constexpr (std::is_same_v<Sample, double>) {
    Note("processDoubleReplacing");
    effect->processDoubleReplacing(effect, nullptr, outputs, frames);
  } else if (path == kAccumulating) {
    Note("process (accumulating)");
    effect->process(effect, nullptr, outputs, frames);
  } else {
    Note("processReplacing");
    effect->processReplacing(effect, nullptr, outputs, frames);
  }
  // Counted on this thread only: whatever the plug-in allocated in the call.
  const std::size_t allocations = ThreadLibraryAllocations() - allocationsBefore;
  if (allocations != 0 && slot.warmedUp) {
    Fail("a process call of " + std::to_string(frames) + " frames allocated " + std::to_string(allocations) + " times");
  }
  slot.warmedUp = true;
  const std::size_t end = static_cast<std::size_t>(frames);
  if (left[end] != static_cast<Sample>(kCanary) || right[end] != static_cast<Sample>(kCanary)) {
    Fail("a process call of " + std::to_string(frames) + " frames wrote past them");
  }
  const bool checkRight = slot.connectedOutputs > 1;
  if (slot.connectedOutputs < 1) return;
  for (std::size_t i = 0; i < end; ++i) {
    double l = static_cast<double>(left[i] - prefill);
    double r = checkRight ? static_cast<double>(right[i] - prefill) : 0.0;
    if (!std::isfinite(l) || !std::isfinite(r) || std::fabs(l) > kOutputBound || std::fabs(r) > kOutputBound) {
      char text[160];
      std::snprintf(text, sizeof(text), "output frame %zu of %d is %g / %g at %.0f Hz (bound %g)", i, frames, l, r,
                    static_cast<double>(slot.sampleRate), kOutputBound);
      Fail(text);
      return;
    }
  }
}

void ChaosHost::SendMidi(Slot& slot, int frames) {
  EventList events;
  int count = random_.Between(1, 24);
  for (int n = 0; n < count; ++n) {
    // Offsets inside the block mostly, sometimes before or past it.
    int delta = frames > 0 ? random_.Below(frames) : 0;
    if (random_.Chance(100)) delta = -random_.Between(1, 1000);
    if (random_.Chance(100)) delta = frames + random_.Below(10000);
    int kind = random_.Below(100);
    std::uint8_t channel = static_cast<std::uint8_t>(random_.Chance(800) ? 0 : random_.Below(16));
    std::uint8_t data1 = static_cast<std::uint8_t>(random_.Below(128));
    std::uint8_t data2 = static_cast<std::uint8_t>(random_.Below(128));
    if (random_.Chance(20)) data1 = static_cast<std::uint8_t>(random_.Below(256));  // data bytes with the top bit
    if (kind < 35) {
      events.Midi(delta, static_cast<std::uint8_t>(kNoteOn | channel),
                  static_cast<std::uint8_t>(24 + random_.Below(84)), random_.Chance(100) ? 0 : data2);
    } else if (kind < 55) {
      events.Midi(delta, static_cast<std::uint8_t>(kNoteOff | channel),
                  static_cast<std::uint8_t>(24 + random_.Below(84)), data2);
    } else if (kind < 70) {
      events.Midi(delta, static_cast<std::uint8_t>(kControlChange | channel), random_.Pick(kControllers), data2);
    } else if (kind < 85) {
      events.Midi(delta, static_cast<std::uint8_t>(random_.Pick(kStatusKinds) | channel), data1, data2);
    } else if (kind < 90) {
      events.Midi(delta, random_.Pick(kSystemStatus), data1, data2);
    } else if (kind < 95) {
      std::int32_t size = random_.Between(0, 256);
      for (int i = 0; i < size; ++i) scratch_[static_cast<std::size_t>(i)] = static_cast<char>(random_.Below(256));
      events.SysEx(delta, scratch_.data(), size);
    } else if (kind < 98) {
      events.Unknown(delta);
    } else {
      events.Null();
    }
  }
  Note("effProcessEvents");
  slot.plugin->Dispatch(vst2::effProcessEvents, 0, 0, events.Events());
}

void ChaosHost::ChangeSampleRate(Slot& slot) {
  slot.sampleRate = random_.Chance(700) ? random_.Pick(kRates) : static_cast<float>(random_.Between(8000, 384000));
  // Hosts should suspend first; many do not.
  if (slot.resumed && random_.Chance(500)) {
    Note("effMainsChanged off");
    slot.plugin->Dispatch(vst2::effMainsChanged, 0, 0);
    slot.resumed = false;
  }
  Note("effSetSampleRate");
  slot.plugin->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, slot.sampleRate);
}

void ChaosHost::ChangeBlockSize(Slot& slot) {
  constexpr int kTypical[] = {1, 2, 16, 32, 64, 128, 256, 441, 512, 1000, 1024, 2048, 4096, 8192};
  slot.announcedBlock = random_.Chance(600) ? random_.Pick(kTypical) : random_.Between(1, kLargestAnnouncedBlock);
  Note("effSetBlockSize");
  slot.plugin->Dispatch(vst2::effSetBlockSize, 0, slot.announcedBlock);
}

void ChaosHost::SwitchProcessing(Slot& slot) {
  // Mostly a toggle; sometimes the same state twice in a row.
  bool on = random_.Chance(800) ? !slot.resumed : slot.resumed;
  Note(on ? "effMainsChanged on" : "effMainsChanged off");
  slot.plugin->Dispatch(vst2::effMainsChanged, 0, on ? 1 : 0);
  slot.resumed = on;
  if (random_.Chance(200)) {
    Note("effStartProcess/effStopProcess");
    constexpr std::int32_t kStartProcess = 71;
    constexpr std::int32_t kStopProcess = 72;
    slot.plugin->Dispatch(on ? kStartProcess : kStopProcess);
  }
}
