// libFuzzer target: the MIDI reader and everything built from what it
// accepts (tempo map, event schedule) must take any bytes.
#include <cstddef>
#include <cstdint>

#include "tools/vorn-render/event_schedule.h"
#include "tools/vorn-render/midi_file.h"
#include "tools/vorn-render/tempo_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const render::MidiReadResult result = render::ReadMidiFile(data, size);
  if (!result.ok) return 0;
  const render::TempoMap map(result.song);
  constexpr std::int32_t kBlock = 256;
  render::EventSchedule schedule(result.song, map, 44100.0, kBlock);
  // Walk the first second of blocks, as the renderer would.
  for (std::int64_t start = 0; start < 44100; start += kBlock) {
    schedule.EventsForBlock(start, kBlock);
    map.PositionAt(static_cast<double>(start) / 44100.0);
  }
  return 0;
}
