// The --threads mode: one thread renders while another works the dispatcher
// and the parameter callbacks, as a host's audio and user-interface threads
// do. Run in a ThreadSanitizer build, any race it reports fails the test.
#pragma once

#include "plugin/vst2/vst2_abi.h"

class CheckReport;

void RunThreadSoak(vst2::EntryPoint entry, double seconds, CheckReport& report);
