// Shared set-up for the tests that run vorn-render against the fake
// instrument: a scratch folder, songs written there, the tool's command line,
// the plug-in's call log and measurements of the rendered audio.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/tool_process.h"
#include "tools/demo/midi_writer.h"

namespace tooltest {

class RenderTest : public ::testing::Test {
 protected:
  std::string SaveSong(const std::string& name, const std::vector<demo::MidiTrack>& tracks, int format = 1,
                       int ticksPerQuarter = 480);
  // vorn-render with the fake instrument (or the given library) and the
  // plug-in's log switched on; arguments are already quoted.
  CommandResult Render(const std::string& arguments, const std::string& plugin = FAKE_INSTRUMENT);
  // The log lines that start with prefix, in order.
  std::vector<std::string> LogLines(const std::string& prefix) const;
  std::string LogPath() const { return folder_.Path("plugin.log"); }
  std::string Path(const std::string& name) const { return folder_.Path(name); }

 private:
  ScratchFolder folder_;
};

// A song of one note: key at velocity 100 for the given ticks, 120 BPM.
std::vector<demo::MidiTrack> OneNote(int key, std::uint64_t length);

// Frames at which channel 0 becomes non-silent after at least minGap silent frames.
std::vector<long long> Onsets(const SoxAudio& audio, int minGap);
float Peak(const SoxAudio& audio);
// Frequency of channel 0 between two frames, from its rising zero crossings.
double ZeroCrossingFrequency(const SoxAudio& audio, long long begin, long long end);

}  // namespace tooltest
