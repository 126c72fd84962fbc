#include "tools/vorn-render/song_renderer.h"

#include <algorithm>
#include <vector>

#include "tools/vorn-render/host_system.h"

namespace render {

RenderResult RenderSong(PluginHost& host, EventSchedule& schedule, const TempoMap& tempoMap, double sampleRate,
                        std::int32_t blockSize, std::int64_t totalFrames, WavWriter& writer, ProgressBar& progress) {
  const vst2::AEffect& effect = host.Effect();
  std::vector<std::vector<float>> inputStore(effect.numInputs, std::vector<float>(blockSize, 0.0f));
  std::vector<std::vector<float>> outputStore(effect.numOutputs, std::vector<float>(blockSize, 0.0f));
  std::vector<float*> inputs(std::max(effect.numInputs, 1), nullptr);
  std::vector<float*> outputs(effect.numOutputs, nullptr);
  for (std::size_t c = 0; c < inputStore.size(); ++c) inputs[c] = inputStore[c].data();
  for (std::size_t c = 0; c < outputStore.size(); ++c) outputs[c] = outputStore[c].data();

  RenderResult result;
  host.SetProcessing(true);
  // Process CPU clocks tick coarsely on some systems (10 ms and more), too
  // coarse to time single blocks: the whole loop is timed.
  const double cpuStart = ProcessCpuSeconds();
  for (std::int64_t position = 0; position < totalFrames; position += blockSize) {
    const auto frames = static_cast<std::int32_t>(std::min<std::int64_t>(blockSize, totalFrames - position));
    host.SetTransport(position, tempoMap.PositionAt(static_cast<double>(position) / sampleRate));
    // A plug-in may scribble over its inputs; every block starts from silence.
    for (std::vector<float>& input : inputStore) std::fill(input.begin(), input.end(), 0.0f);

    if (vst2::VstEvents* events = schedule.EventsForBlock(position, frames))
      host.Dispatch(vst2::effProcessEvents, 0, 0, events);
    host.Process(inputs.data(), outputs.data(), frames);

    result.meter.Add(outputs.data(), effect.numOutputs, frames);
    if (!writer.Write(outputs.data(), frames)) {
      result.writeFailed = true;
      break;
    }
    result.frames = position + frames;
    progress.Update(result.frames, totalFrames);
  }
  result.cpuSeconds = ProcessCpuSeconds() - cpuStart;
  progress.Finish();
  host.SetProcessing(false);
  return result;
}

}  // namespace render
