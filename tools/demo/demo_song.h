// The demo piece: six bars in A minor, about 14 seconds. A conductor track
// with a tempo change from 96 to 108 BPM at bar 5, then bass line, chords and
// lead on MIDI channels 1 to 3, as a format 1 file.
#pragma once

#include <cstdint>
#include <vector>

namespace demo {

std::vector<std::uint8_t> DemoSong();

}  // namespace demo
