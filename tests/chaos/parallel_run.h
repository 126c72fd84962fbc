// Many instances in one process at once: each renders a seeded piece on its
// own thread at its own sample rate while another thread creates and
// destroys further instances; every instance must render exactly what it
// renders alone. Under ThreadSanitizer this is the check of everything the
// instances share (tables, caches, tuning registration, settings).
#pragma once

#include <cstdint>

#include "plugin/vst2/vst2_abi.h"

// Renders `instances` pieces of `seconds` each, first one after another, then
// all at once; prints what differs and answers whether nothing did.
bool RunParallel(vst2::EntryPoint entry, std::uint64_t seed, int instances, double seconds);
