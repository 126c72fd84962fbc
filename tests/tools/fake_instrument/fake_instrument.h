// A small VST 2 instrument for testing hosts: each note is a cosine at the
// note's equal-tempered pitch, starting at full amplitude on its exact frame
// (so onsets are measurable to the sample) and stopping at once on note-off.
// Two parameters, "Gain" and "Octave", four programs, and chunks in a format
// of its own. When FAKE_VST_LOG names a file, every host call it receives and
// every answer it gets from the host is logged there, one line each.
#pragma once

#include "plugin/vst2/vst2_abi.h"

namespace fake {

constexpr std::int32_t kUniqueId = vst2::FourCharCode("FkIn");

vst2::AEffect* CreateFakeInstrument(vst2::HostCallback host);

}  // namespace fake
