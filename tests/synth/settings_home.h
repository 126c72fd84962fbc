// A settings folder of the test's own, and a Vorn instance that uses it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "product/vorn.h"
#include "tests/product/scratch_folder.h"
#include "tests/synth/test_host.h"

// Points the settings lookup at a folder of the test's own.
class SettingsHome {
 public:
  SettingsHome() { setenv("XDG_CONFIG_HOME", Base().c_str(), 1); }
  std::string Base() const { return mScratch.File("config"); }
  std::string Folder() const { return Base() + "/PaperKiteSounds"; }
  std::string File() const { return Folder() + "/vorn.ini"; }
  void Write(const std::string& text) const {
    std::filesystem::create_directories(Folder());
    WriteWholeFile(File(), text);
  }
  std::string Read() const { return ReadWholeFile(File()); }

 private:
  ScratchFolder mScratch;
};

struct Instance {
  TestHost host;
  ScopedTestHost scoped{host};
  Vorn vorn{TestHost::Callback};
};
