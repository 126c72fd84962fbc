// The editor cases of the chaos host. Cycle after cycle the host's
// user-interface thread makes an instance and a parent window, opens the
// editor into it, drives it (idle calls at random moments, clicks, drags and
// the wheel over the controls, keys through the window system and through
// effEditKeyDown/Up, program changes and state from the host) and closes it
// one of the ways hosts do: effEditClose, the parent window destroyed first,
// or effClose with the editor still open. Meanwhile the instance's audio
// thread renders and automates parameters. Checks: no crash or hang, every
// output sample finite and bounded, parameters in range, no window left in
// the parent after effEditClose. The user-interface thread's choices come
// from the seed; each cycle's audio thread has a seed of its own derived
// from it, so a seed replays the same calls (their interleaving is the
// threads').
#pragma once

#include <cstdint>

#include "plugin/vst2/vst2_abi.h"

enum class EditorRunResult { kPassed, kFailed, kNoWindowSystem };

// Runs editor cycles for `seconds`; a call that takes `hangSeconds` on
// either thread ends the process (the watchdog).
EditorRunResult RunEditorChaos(vst2::EntryPoint entry, std::uint64_t seed, double seconds, double hangSeconds);
