// A host callback for tests that build Vorn directly: it answers the product
// and vendor strings a test chooses and counts what the plug-in asks.
#pragma once

#include <cstring>
#include <map>
#include <string>

#include "plugin/vst2/vst2_abi.h"

struct TestHost {
  std::string product;
  std::string vendor;
  vst2::IntPtr vendorVersion = 0;
  std::map<int, int> calls;

  static TestHost*& Current() {
    static TestHost* current = nullptr;
    return current;
  }

  static vst2::IntPtr VST_CALL Callback(vst2::AEffect*, std::int32_t opcode, std::int32_t, vst2::IntPtr, void* ptr,
                                        float) {
    TestHost* host = Current();
    if (!host) return 0;
    ++host->calls[opcode];
    switch (opcode) {
      case vst2::audioMasterGetProductString: std::strcpy(static_cast<char*>(ptr), host->product.c_str()); return 1;
      case vst2::audioMasterGetVendorString: std::strcpy(static_cast<char*>(ptr), host->vendor.c_str()); return 1;
      case vst2::audioMasterGetVendorVersion: return host->vendorVersion;
      default: return 0;
    }
  }
};

// Installs a host for the lifetime of a test.
class ScopedTestHost {
 public:
  explicit ScopedTestHost(TestHost& host) { TestHost::Current() = &host; }
  ~ScopedTestHost() { TestHost::Current() = nullptr; }
};
