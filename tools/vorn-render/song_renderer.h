// Plays a scheduled song through a plug-in the way a host's engine does:
// processing on, then block by block the transport position, the block's MIDI
// events (effProcessEvents) and the audio callback, until the song and its
// release tail are done; processing off. Every block goes to the WAV writer.
#pragma once

#include <cstdint>

#include "tools/vorn-render/event_schedule.h"
#include "tools/vorn-render/plugin_host.h"
#include "tools/vorn-render/progress_bar.h"
#include "tools/vorn-render/signal_meter.h"
#include "tools/vorn-render/tempo_map.h"
#include "tools/vorn-render/wav_writer.h"

namespace render {

struct RenderResult {
  std::int64_t frames = 0;
  double cpuSeconds = 0.0;  // the whole render loop: plug-in, metering and file writing
  SignalMeter meter;
  bool writeFailed = false;
};

RenderResult RenderSong(PluginHost& host, EventSchedule& schedule, const TempoMap& tempoMap, double sampleRate,
                        std::int32_t blockSize, std::int64_t totalFrames, WavWriter& writer, ProgressBar& progress);

}  // namespace render
