// The entry point only under the name older hosts look for, "main". C++ does
// not allow a function of that name with this signature, so the symbol is
// given its name at assembly level.
#include "tests/tools/fake_instrument/fake_instrument.h"

extern "C" __attribute__((visibility("default"))) vst2::AEffect* LegacyEntry(vst2::HostCallback host) __asm__("main");

vst2::AEffect* LegacyEntry(vst2::HostCallback host) { return fake::CreateFakeInstrument(host); }
