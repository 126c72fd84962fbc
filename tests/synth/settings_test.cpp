#include <gtest/gtest.h>
#include <sys/resource.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "product/vorn.h"
#include "product/menu_commands.h"
#include "tests/synth/settings_home.h"
#include "tests/synth/test_host.h"

namespace {

// A start-up bank that loads; one that does not is forgotten at construction.
std::string SavedBank(const SettingsHome& home, const std::string& name) {
  const std::string path = home.Base() + "/" + name;
  Instance maker;
  EXPECT_TRUE(maker.vorn.SaveBankFile(path.c_str()));
  return path;
}

TEST(Settings, FirstStartCreatesTheFolderAndAnEmptyFile) {
  SettingsHome home;
  ASSERT_FALSE(std::filesystem::exists(home.Base()));
  Instance instance;
  Vorn& vorn = instance.vorn;
  EXPECT_EQ(vorn.ConfigurationPath(), home.File());
  ASSERT_TRUE(std::filesystem::is_regular_file(home.File()));
  EXPECT_EQ(home.Read(), "");
  EXPECT_FALSE(vorn.MidiThru());
  EXPECT_FALSE(vorn.IgnoreProgramChange());
  EXPECT_EQ(vorn.StartupBankPath(), "");
  EXPECT_EQ(vorn.ProgramFolder(), vorn.DocumentsFolder());
  EXPECT_FALSE(vorn.DocumentsFolder().empty());
  for (int controller = 0; controller < Synth::kLearnableControllers; ++controller) {
    EXPECT_EQ(vorn.ControllerTarget(controller), Synth::kUnbound);
  }
}

TEST(Settings, SavingEverythingWritesTheDocumentedFile) {
  SettingsHome home;
  Instance instance;
  instance.vorn.BindController(74, 12);
  instance.vorn.BindController(71, 13);
  EXPECT_EQ(instance.vorn.WriteConfiguration(Synth::kWriteAllSettings), Synth::kResultOk);
  EXPECT_EQ(home.Read(),
            "[Startup Bank]\r\nFile=\r\n\r\n"
            "[MIDI Global]\r\nMIDI Thru=false\r\nIgnore Program Change=false\r\n\r\n"
            "[MIDI Control]\r\nCC71=13\r\nCC74=12\r\n");

  // An empty map leaves an empty section; what was saved reads back.
  instance.vorn.BindController(71, Synth::kUnbound);
  instance.vorn.BindController(74, Synth::kUnbound);
  instance.vorn.WriteConfiguration(Synth::kWriteAllSettings);
  EXPECT_EQ(home.Read(),
            "[Startup Bank]\r\nFile=\r\n\r\n"
            "[MIDI Global]\r\nMIDI Thru=false\r\nIgnore Program Change=false\r\n\r\n"
            "[MIDI Control]\r\n");
}

TEST(Settings, ReadRules) {
  const std::string longPath = "/home/someone/" + std::string(300, 'b') + "/Vorn Banks/mine.fxb";
  const std::string longFolder = "/home/someone/" + std::string(200, 'f');
  struct Case {
    std::string text;
    bool thruBefore;
    bool thru;
    int cc7;  // entry 7 was 5 before reading
    std::string startupBank;
    std::string programFolder;  // empty: unchanged
  };
  const Case cases[] = {
      {"[MIDI Global]\nMIDI Thru=TRUE\n[MIDI Control]\nCC7=0\n", false, true, 0, "", ""},
      {"[midi global]\r\nmidi thru=yes\r\n[midi control]\r\ncc7=-1\r\n", true, false, -1, "", ""},
      {"[MIDI Global]\nMIDI Thru=\n[MIDI Control]\nCC7=abc\n", true, true, -1, "", ""},
      {"[MIDI Control]\nCC7=\n", true, true, 5, "", ""},
      {"[MIDI Control]\nCC6=4\n", false, false, -1, "", ""},
      {"[MIDI Control]\nCC7= 12x\n", false, false, 12, "", ""},
      {"[MIDI Control]\nCC7=99\n", false, false, 99, "", ""},
      {"[Startup Bank]\nFile=" + longPath + "\n[Global]\nPath to Program Files=" + longFolder + "\n", false, false, -1,
       longPath, longFolder},
      {"\xEF\xBB\xBF[Startup Bank]\r\nFile=C:\\Banks\\a.fxb", false, false, -1, "C:\\Banks\\a.fxb", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    SettingsHome home;
    Instance instance;
    Vorn& vorn = instance.vorn;
    const std::string folderBefore = vorn.ProgramFolder();
    vorn.SetMidiThru(c.thruBefore);
    vorn.BindController(7, 5);
    home.Write(c.text);
    EXPECT_EQ(vorn.ReadConfiguration(), Synth::kResultOk);
    EXPECT_EQ(vorn.MidiThru(), c.thru);
    EXPECT_FALSE(vorn.IgnoreProgramChange());
    EXPECT_EQ(vorn.ControllerTarget(7), c.cc7);
    EXPECT_EQ(vorn.StartupBankPath(), c.startupBank);
    EXPECT_EQ(vorn.ProgramFolder(), c.programFolder.empty() ? folderBefore : c.programFolder);
  }
}

TEST(Settings, ReloadAfterTheFileWasDeleted) {
  SettingsHome home;
  home.Write(
      "[Startup Bank]\nFile=/b.fxb\n[Global]\nPath to Program Files=/progs\n"
      "[MIDI Global]\nMIDI Thru=true\nIgnore Program Change=true\n[MIDI Control]\nCC74=12\n");
  Instance instance;
  Vorn& vorn = instance.vorn;
  ASSERT_EQ(vorn.ControllerTarget(74), 12);
  std::filesystem::remove(home.File());
  EXPECT_EQ(vorn.ReadConfiguration(), Synth::kResultNoConfiguration);
  EXPECT_EQ(vorn.StartupBankPath(), "");
  EXPECT_TRUE(vorn.MidiThru());
  EXPECT_TRUE(vorn.IgnoreProgramChange());
  EXPECT_EQ(vorn.ProgramFolder(), "/progs");
  EXPECT_EQ(vorn.ControllerTarget(74), Synth::kUnbound);
  EXPECT_FALSE(std::filesystem::exists(home.File()));
}

TEST(Settings, OneSwitchRewritesOnlyItsKeyAndTheStartupBank) {
  SettingsHome home;
  const std::string bank = SavedBank(home, "b.fxb");
  home.Write("; kept\n[Startup Bank]\nFile=" + bank +
             "\n\n[Global]\nPath to Program Files=/progs\n\n"
             "[MIDI Global]\nMIDI Thru=false\nIgnore Program Change=false\n\n[MIDI Control]\nCC1=3\n");
  Instance instance;
  // Another instance changed the file meanwhile.
  home.Write(
      "; kept\n[Startup Bank]\nFile=/other.fxb\nStray=1\n\n[Global]\nPath to Program Files=/progs\n\n"
      "[MIDI Global]\nMIDI Thru=false\nIgnore Program Change=false\n\n[MIDI Control]\nCC1=3\nCC2=4\n");
  instance.vorn.SetMidiThru(true);
  instance.vorn.SetIgnoreProgramChange(true);
  instance.vorn.WriteConfiguration(kCommandMidiThru);
  EXPECT_EQ(home.Read(),
            "; kept\n[Startup Bank]\nFile=" + bank +
                "\n\n[Global]\nPath to Program Files=/progs\n\n"
                "[MIDI Global]\nMIDI Thru=true\nIgnore Program Change=false\n\n[MIDI Control]\nCC1=3\nCC2=4\n");
  instance.vorn.WriteConfiguration(kCommandIgnoreProgramChange);
  EXPECT_NE(home.Read().find("Ignore Program Change=true\n"), std::string::npos);
}

TEST(Settings, InstancesWritingInTurnKeepEachOthersKeys) {
  SettingsHome home;
  const std::string bank = SavedBank(home, "first.fxb");
  Instance first;
  Instance second;
  first.vorn.SelectStartupBank(bank);
  second.vorn.SetMidiThru(true);
  second.vorn.WriteConfiguration(kCommandMidiThru);  // last writer of the startup bank wins
  first.vorn.SetIgnoreProgramChange(true);
  first.vorn.WriteConfiguration(kCommandIgnoreProgramChange);
  Instance third;
  EXPECT_EQ(third.vorn.StartupBankPath(), bank);
  EXPECT_TRUE(third.vorn.MidiThru());
  EXPECT_TRUE(third.vorn.IgnoreProgramChange());
  first.vorn.UnselectStartupBank();
  EXPECT_EQ(home.Read().find("File="), std::string::npos);
  EXPECT_NE(home.Read().find("[Startup Bank]"), std::string::npos);
}

TEST(Settings, FailedWriteKeepsTheOldFileAndTheInstanceWorking) {
  SettingsHome home;
  const std::string old = "[Startup Bank]\r\nFile=/banks/mine.fxb\r\n";
  home.Write(old);
  Instance instance;
  for (int controller = 0; controller < Synth::kLearnableControllers; ++controller) {
    instance.vorn.BindController(controller, controller % 32);
  }
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &tiny);
  instance.vorn.WriteConfiguration(Synth::kWriteAllSettings);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(home.Read(), old);

  instance.vorn.WriteConfiguration(Synth::kWriteAllSettings);
  EXPECT_NE(home.Read().find("CC119=23\r\n"), std::string::npos);
}

TEST(Settings, FileTooLargeToBeOursIsNeverOverwritten) {
  SettingsHome home;
  const std::string foreign = "[Startup Bank]\nFile=/b.fxb\n" + std::string(2 << 20, 'x');
  home.Write(foreign);
  Instance instance;
  EXPECT_EQ(instance.vorn.StartupBankPath(), "");
  instance.vorn.SelectStartupBank("/banks/new.fxb");
  instance.vorn.WriteConfiguration(Synth::kWriteAllSettings);
  instance.vorn.UnselectStartupBank();
  EXPECT_TRUE(home.Read() == foreign);
}

TEST(Settings, ConstructionLeavesTheHostLocaleAlone) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  const char* chosen = nullptr;
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "C.UTF-8"}) {
    if (std::setlocale(LC_ALL, name)) {
      chosen = name;
      break;
    }
  }
  ASSERT_NE(chosen, nullptr);
  const std::string hostLocale = std::setlocale(LC_ALL, nullptr);
  const std::string decimalPoint = std::localeconv()->decimal_point;
  SettingsHome home;
  home.Write("[MIDI Control]\nCC7=12\n");
  {
    Instance instance;
    EXPECT_EQ(instance.vorn.ControllerTarget(7), 12);
  }
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), hostLocale);
  EXPECT_EQ(std::localeconv()->decimal_point, decimalPoint);
  std::setlocale(LC_ALL, before.c_str());
}

TEST(Settings, MidiSwitchesActOnTheMidiPath) {
  SettingsHome home;
  Instance instance;
  Vorn& vorn = instance.vorn;
  vorn.FillEmptyPresets(64);
  const MidiMessage note{0, 0x90, 60, 100};
  const MidiMessage programFive{0, 0xC0, 5, 0};

  vorn.HandleMidiMessage(note);
  EXPECT_EQ(instance.host.calls[vst2::audioMasterProcessEvents], 0);
  vorn.SetMidiThru(true);
  vorn.HandleMidiMessage(note);
  vorn.HandleMidiMessage(programFive);
  EXPECT_EQ(instance.host.calls[vst2::audioMasterProcessEvents], 2);

  vorn.SelectPreset(0);
  vorn.SetIgnoreProgramChange(true);
  vorn.HandleMidiMessage(programFive);
  EXPECT_EQ(vorn.CurrentPresetIndex(), 0);
  vorn.SetIgnoreProgramChange(false);
  vorn.HandleMidiMessage(programFive);
  EXPECT_EQ(vorn.CurrentPresetIndex(), 5);
}

}  // namespace

namespace {

TEST(Settings, StartupBankMissingAtStartStaysSelected) {
  SettingsHome home;
  const std::string bank = home.Base() + "/unplugged/Live.fxb";
  home.Write("[Startup Bank]\r\nFile=" + bank + "\r\n");
  Instance instance;
  EXPECT_STREQ(instance.vorn.GetPresetName(0), "Sync Heaven");  // the factory bank instead
  EXPECT_EQ(instance.vorn.StartupBankPath(), bank);
  EXPECT_TRUE(instance.vorn.HasStartupBank());
  instance.vorn.SetMidiThru(true);
  instance.vorn.WriteConfiguration(kCommandMidiThru);
  EXPECT_EQ(home.Read().rfind("[Startup Bank]\r\nFile=" + bank + "\r\n", 0), 0u);
}

}  // namespace
