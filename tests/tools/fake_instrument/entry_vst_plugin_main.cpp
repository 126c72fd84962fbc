// The entry point under its VST 2.4 name.
#include "tests/tools/fake_instrument/fake_instrument.h"

extern "C" __attribute__((visibility("default"))) vst2::AEffect* VSTPluginMain(vst2::HostCallback host) {
  return fake::CreateFakeInstrument(host);
}
