#include "tests/tools/render_fixture.h"

#include <cmath>
#include <sstream>

namespace tooltest {

std::string RenderTest::SaveSong(const std::string& name, const std::vector<demo::MidiTrack>& tracks, int format,
                                 int ticksPerQuarter) {
  const std::string path = folder_.Path(name);
  const std::vector<std::uint8_t> bytes = demo::EncodeMidiFile(format, ticksPerQuarter, tracks);
  EXPECT_TRUE(WriteBytes(path, std::vector<unsigned char>(bytes.begin(), bytes.end())));
  return path;
}

CommandResult RenderTest::Render(const std::string& arguments, const std::string& plugin) {
  std::remove(LogPath().c_str());
  return RunCommand("FAKE_VST_LOG=" + Quote(LogPath()) + " " + Quote(VORN_RENDER_EXE) + " --plugin " + Quote(plugin) +
                    " " + arguments);
}

std::vector<std::string> RenderTest::LogLines(const std::string& prefix) const {
  std::istringstream log(ReadText(LogPath()));
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

std::vector<demo::MidiTrack> OneNote(int key, std::uint64_t length) {
  demo::MidiTrack track;
  track.Tempo(0, 120);
  track.Note(0, length, 0, key, 100);
  return {track};
}

std::vector<long long> Onsets(const SoxAudio& audio, int minGap) {
  std::vector<long long> onsets;
  int silent = minGap;
  for (long long i = 0; i < audio.frames; ++i) {
    const bool sounding = std::fabs(audio.samples[static_cast<std::size_t>(i * audio.channels)]) > 1e-4f;
    if (sounding && silent >= minGap) onsets.push_back(i);
    silent = sounding ? 0 : silent + 1;
  }
  return onsets;
}

float Peak(const SoxAudio& audio) {
  float peak = 0.0f;
  for (float x : audio.samples) peak = std::fmax(peak, std::fabs(x));
  return peak;
}

double ZeroCrossingFrequency(const SoxAudio& audio, long long begin, long long end) {
  long long first = -1;
  long long last = -1;
  int crossings = 0;
  for (long long i = begin + 1; i < end; ++i) {
    const float before = audio.samples[static_cast<std::size_t>((i - 1) * audio.channels)];
    const float now = audio.samples[static_cast<std::size_t>(i * audio.channels)];
    if (before < 0.0f && now >= 0.0f) {
      if (first < 0) first = i;
      last = i;
      ++crossings;
    }
  }
  return crossings > 1 ? (crossings - 1) * static_cast<double>(audio.rate) / static_cast<double>(last - first) : 0.0;
}

}  // namespace tooltest
