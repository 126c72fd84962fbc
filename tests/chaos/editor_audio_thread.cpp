#include "tests/chaos/editor_audio_thread.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>

#include "tests/chaos/chaos_host.h"
#include "tests/chaos/watchdog.h"
#include "tests/host/event_list.h"
#include "tests/host/plugin_instance.h"

namespace {

constexpr float kOddValues[] = {std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                -1.0f,
                                2.0f,
                                1e30f};

}  // namespace

void EditorFailureLog::Fail(const std::string& what, const char* during, int cycle) {
  std::lock_guard<std::mutex> hold(lock_);
  ++count_;
  std::fprintf(stderr, "chaos: FAIL %s (during \"%s\", editor cycle %d, seed %llu)\n", what.c_str(), during, cycle,
               static_cast<unsigned long long>(seed_));
}

void CheckParameter(vst2::AEffect* effect, int index, EditorFailureLog& log, const char* during, int cycle) {
  const float value = effect->getParameter(effect, index);
  if (!std::isfinite(value) || value < 0.0f || value > 1.0f)
    log.Fail("parameter " + std::to_string(index) + " reads " + std::to_string(value), during, cycle);
}

void EditorAudioThread::Note(const char* what) {
  during_ = what;
  watchdog_.Beat(what);
  ++calls_;
}

void EditorAudioThread::Run() {
  vst2::AEffect* effect = plugin_.effect();
  while (!stop_ && !log_.Any()) {
    const int roll = random_.Below(100);
    if (roll < 70) {
      Process();
      // A real audio thread waits for the next buffer now and then.
      if (random_.Chance(500)) std::this_thread::sleep_for(std::chrono::microseconds(random_.Between(100, 2000)));
    } else if (roll < 88) {
      const int index = random_.Below(effect->numParams);
      const float value = random_.Chance(100) ? random_.Pick(kOddValues) : random_.Unit();
      Note("setParameter (automation)");
      effect->setParameter(effect, index, value);
      Note("getParameter");
      CheckParameter(effect, index, log_, during_, cycle_);
    } else {
      SendMidi();
    }
  }
}

void EditorAudioThread::SendMidi() {
  EventList events;
  for (int n = random_.Between(1, 8); n > 0; --n) {
    const int delta = random_.Below(block_);
    const auto data1 = static_cast<std::uint8_t>(random_.Below(128));
    const auto data2 = static_cast<std::uint8_t>(random_.Below(128));
    switch (random_.Below(6)) {
      case 0:
      case 1: events.Midi(delta, kNoteOn, static_cast<std::uint8_t>(36 + random_.Below(60)), data2); break;
      case 2: events.Midi(delta, kNoteOff, static_cast<std::uint8_t>(36 + random_.Below(60)), 0); break;
      case 3: events.Midi(delta, kControlChange, data1, data2); break;
      case 4: events.Midi(delta, kPitchBend, data1, data2); break;
      default: events.Midi(delta, kProgramChange, data1, 0); break;
    }
  }
  Note("effProcessEvents");
  plugin_.Dispatch(vst2::effProcessEvents, 0, 0, events.Events());
}

void EditorAudioThread::Process() {
  int frames = random_.Between(1, block_);
  if (random_.Chance(50)) frames = 0;
  if (random_.Chance(50)) frames = block_ + random_.Between(1, block_);
  switch (random_.Below(3)) {
    case 0: ProcessWith(left_, right_, frames, false); break;
    case 1: ProcessWith(left_, right_, frames, true); break;
    default: ProcessWith(leftDouble_, rightDouble_, frames, false); break;
  }
}

template <typename Sample>
void EditorAudioThread::ProcessWith(std::vector<Sample>& left, std::vector<Sample>& right, int frames,
                                    bool accumulating) {
  const Sample prefill = accumulating ? static_cast<Sample>(random_.Unit() - 0.5f) : Sample(0);
  for (int i = 0; i < frames; ++i) left[static_cast<std::size_t>(i)] = right[static_cast<std::size_t>(i)] = prefill;
  Sample* outputs[2] = {left.data(), right.data()};
  vst2::AEffect* effect = plugin_.effect();
  if constexpr (std::is_same_v<Sample, double>) {
    Note("processDoubleReplacing");
    effect->processDoubleReplacing(effect, nullptr, outputs, frames);
  } else if (accumulating) {
    Note("process (accumulating)");
    effect->process(effect, nullptr, outputs, frames);
  } else {
    Note("processReplacing");
    effect->processReplacing(effect, nullptr, outputs, frames);
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(frames); ++i) {
    const double l = static_cast<double>(left[i] - prefill);
    const double r = static_cast<double>(right[i] - prefill);
    if (!std::isfinite(l) || !std::isfinite(r) || std::fabs(l) > kOutputBound || std::fabs(r) > kOutputBound) {
      char text[160];
      std::snprintf(text, sizeof text, "output frame %zu of %d is %g / %g (bound %g)", i, frames, l, r, kOutputBound);
      log_.Fail(text, during_, cycle_);
      return;
    }
  }
}
