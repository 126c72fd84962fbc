#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/platform/igraphics_headless.h"
#include "product/menu_commands.h"
#include "product/program_folder.h"
#include "tests/synth/settings_home.h"

namespace {

using Message = IGraphicsHeadless::MessageRecord;

constexpr int kYes = IGraphics::kAnswerYes;
constexpr int kNo = IGraphics::kAnswerNo;

struct Commands {
  Commands() {
    vorn.FillEmptyPresets(PluginBase::kPresetCount);
    SetCurrentProgramFolder(home.Base());
  }
  void Run(int command) { vorn.RunMenuCommand(graphics, command); }
  std::vector<double> Values() {
    std::vector<double> values;
    for (int i = 0; i < PluginBase::kParameterCount; ++i) values.push_back(vorn.GetParam(i)->Value());
    return values;
  }
  int HostCalls(int opcode) { return instance.host.calls[opcode]; }
  std::string Path(const std::string& name) const { return home.Base() + "/" + name; }
  const Message& LastMessage() const { return graphics.Messages().back(); }

  SettingsHome home;
  Instance instance;
  Vorn& vorn = instance.vorn;
  IGraphicsHeadless graphics{&instance.vorn};
};

void ExpectMessage(const Message& message, const std::string& text, const std::string& caption, int type) {
  EXPECT_EQ(message.text, text);
  EXPECT_EQ(message.caption, caption);
  EXPECT_EQ(message.type, type);
}

TEST(ProgramCommands, ConfirmationsAskAndNoStopsThem) {
  struct Case {
    int command;
    std::string text;  // "%s" stands for the file the text names
    const char* caption;
  };
  const Case cases[] = {
      {kCommandPasteProgram, "Do you really want to overwrite the current program?", "Paste Program"},
      {kCommandInitProgram, "Do you really want to initialize the current program?", "Initialize Program"},
      {kCommandLoadStartupBank, "The Startup Bank is:\n%s\n\nDo you really want to reload all programs?",
       "Load Startup Bank"},
      {kCommandUnselectStartupBank, "The Startup Bank is:\n%s\n\nDo you really want to unselect it?",
       "Unselect Startup Bank"},
      {kCommandReloadConfiguration, "The INI configuration file is:\n%s\n\nDo you really want to reload it?",
       "Reload Configuration"},
      {kCommandSaveConfiguration, "The INI configuration file is:\n%s\n\nDo you really want to overwrite it?",
       "Save Configuration"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Commands t;
    const std::string bank = t.Path("start.fxb");
    ASSERT_TRUE(t.vorn.SaveBankFile(bank.c_str()));
    t.vorn.SelectStartupBank(bank);
    t.Run(kCommandCopyProgram);
    t.vorn.GoToProgram(5);
    t.vorn.BindController(7, 3);  // in memory only: a reload would drop it
    const std::vector<double> before = t.Values();
    const std::string name = t.vorn.GetPresetName(5);
    const std::string file = t.home.Read();
    const int automations = t.HostCalls(vst2::audioMasterAutomate);

    t.graphics.QueueMessageAnswer(kNo);
    t.Run(c.command);
    std::string text = c.text;
    if (const std::size_t at = text.find("%s"); at != std::string::npos) {
      text.replace(at, 2,
                   c.command == kCommandLoadStartupBank || c.command == kCommandUnselectStartupBank
                       ? bank
                       : t.vorn.ConfigurationPath());
    }
    ASSERT_EQ(t.graphics.Messages().size(), 1u);
    ExpectMessage(t.LastMessage(), text, c.caption, IGraphics::kMessageYesNo);
    EXPECT_EQ(t.Values(), before);
    EXPECT_EQ(t.vorn.GetPresetName(5), name);
    EXPECT_EQ(t.home.Read(), file);
    EXPECT_EQ(t.vorn.StartupBankPath(), bank);
    EXPECT_EQ(t.vorn.ControllerTarget(7), 3);
    EXPECT_EQ(t.HostCalls(vst2::audioMasterAutomate), automations);
  }
}

TEST(ProgramCommands, InitSetsEveryDefaultAndTellsTheHost) {
  Commands t;
  t.vorn.GoToProgram(2);
  for (int i = 0; i < PluginBase::kParameterCount; ++i) t.vorn.SetParameterFromEditor(i, 0.77);
  const int automations = t.HostCalls(vst2::audioMasterAutomate);
  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandInitProgram);
  for (int i = 0; i < PluginBase::kParameterCount; ++i) {
    EXPECT_DOUBLE_EQ(t.vorn.GetParam(i)->Value(), t.vorn.GetParam(i)->Default()) << i;
  }
  EXPECT_STREQ(t.vorn.GetPresetName(2), "Init");
  // Each parameter is set as the editor would, then every one is announced.
  EXPECT_GE(t.HostCalls(vst2::audioMasterAutomate) - automations, 2 * PluginBase::kParameterCount);
}

TEST(ProgramCommands, CopyRenamePasteAcrossSlots) {
  Commands t;
  EXPECT_FALSE(t.vorn.HasCopiedProgram());
  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandPasteProgram);  // nothing copied: nothing happens
  EXPECT_FALSE(t.vorn.HasCopiedProgram());

  t.vorn.GoToProgram(3);
  t.vorn.SetParameterFromEditor(0, 0.25);
  t.Run(kCommandCopyProgram);
  EXPECT_TRUE(t.vorn.HasCopiedProgram());
  EXPECT_TRUE(t.graphics.Messages().size() == 1u);  // copying asks nothing
  const std::vector<double> copied = t.Values();
  t.vorn.SetParameterFromEditor(0, 0.9);
  t.vorn.ModifyCurrentPreset("Renamed");

  t.vorn.GoToProgram(10);
  const int automations = t.HostCalls(vst2::audioMasterAutomate);
  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandPasteProgram);
  EXPECT_EQ(t.Values(), copied);
  EXPECT_STREQ(t.vorn.GetPresetName(10), "Renamed");
  EXPECT_GE(t.HostCalls(vst2::audioMasterAutomate) - automations, PluginBase::kParameterCount);
  t.vorn.GoToProgram(3);
  EXPECT_DOUBLE_EQ(t.vorn.GetParam(0)->GetNormalized(), 0.9);
}

TEST(ProgramCommands, GoToProgramKeepsEditsAndStopsAtTheEnds) {
  Commands t;
  t.vorn.GoToProgram(0);
  t.vorn.SetParameterFromEditor(4, 0.5);
  const double edited = t.vorn.GetParam(4)->Value();
  const int displays = t.HostCalls(vst2::audioMasterUpdateDisplay);
  const int automations = t.HostCalls(vst2::audioMasterAutomate);
  t.vorn.GoToProgram(1);
  EXPECT_EQ(t.vorn.CurrentPresetIndex(), 1);
  EXPECT_EQ(t.HostCalls(vst2::audioMasterUpdateDisplay) - displays, 1);
  EXPECT_EQ(t.HostCalls(vst2::audioMasterAutomate) - automations, PluginBase::kParameterCount);
  t.vorn.GoToProgram(0);
  EXPECT_DOUBLE_EQ(t.vorn.GetParam(4)->Value(), edited);
  for (const int outside : {-1, PluginBase::kPresetCount}) {
    t.vorn.GoToProgram(outside);
    EXPECT_EQ(t.vorn.CurrentPresetIndex(), 0);
  }
}

TEST(ProgramCommands, FileDialogsProposeNamesAndMoveTheFolder) {
  Commands t;
  t.vorn.GoToProgram(6);
  t.vorn.ModifyCurrentPreset("Lead: A/B");
  const std::string saved = t.Path("Lead_ A_B.fxp");
  t.graphics.QueueFileChoice(saved);
  t.Run(kCommandSaveProgram);
  t.graphics.QueueFileChoice(t.Path("banks/x.fxb"));  // folder missing: cannot save
  t.Run(kCommandSaveBank);
  t.Run(kCommandLoadBank);  // cancelled
  t.graphics.QueueFileChoice("C:file.fxp");
  t.Run(kCommandLoadProgram);

  const auto& dialogs = t.graphics.FileDialogs();
  ASSERT_EQ(dialogs.size(), 4u);
  const struct {
    const char* fileName;
    int action;
    std::string folder;
    const char* extensions;
  } expected[] = {
      {"Lead_ A_B", IGraphics::kFileSave, t.home.Base(), "fxp"},
      {"Vorn", IGraphics::kFileSave, t.home.Base(), "fxb"},
      {"", IGraphics::kFileOpen, t.home.Base() + "/banks", "fxb"},
      {"", IGraphics::kFileOpen, t.home.Base() + "/banks", "fxp"},
  };
  for (std::size_t i = 0; i < dialogs.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(dialogs[i].fileName, expected[i].fileName);
    EXPECT_EQ(dialogs[i].action, expected[i].action);
    EXPECT_EQ(dialogs[i].folder, expected[i].folder);
    EXPECT_EQ(dialogs[i].extensions, expected[i].extensions);
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(saved));
  EXPECT_EQ(CurrentProgramFolder(), "");  // C:file.fxp has no folder
  ASSERT_EQ(t.graphics.Messages().size(), 2u);
  ExpectMessage(t.graphics.Messages()[0], "Cannot save file!", "Error", IGraphics::kMessageOk);
  ExpectMessage(t.graphics.Messages()[1], "Cannot load file!", "Error", IGraphics::kMessageOk);
}

TEST(ProgramCommands, LoadsRestoreWhatWasSavedAndBadFilesChangeNothing) {
  Commands t;
  t.vorn.GoToProgram(8);
  t.vorn.SetParameterFromEditor(9, 0.125);
  t.vorn.ModifyCurrentPreset("Saved");
  const std::vector<double> saved = t.Values();
  const std::string program = t.Path("saved.fxp");
  t.graphics.QueueFileChoice(program);
  t.Run(kCommandSaveProgram);

  const std::string garbage = t.Path("garbage.fxp");
  WriteWholeFile(garbage, "not a program file at all");
  t.vorn.GoToProgram(9);
  const std::vector<double> before = t.Values();
  t.graphics.QueueFileChoice(garbage);
  t.Run(kCommandLoadProgram);
  EXPECT_EQ(t.Values(), before);
  ExpectMessage(t.LastMessage(), "Cannot load file!", "Error", IGraphics::kMessageOk);

  const int displays = t.HostCalls(vst2::audioMasterUpdateDisplay);
  t.graphics.QueueFileChoice(program);
  t.Run(kCommandLoadProgram);
  EXPECT_EQ(t.Values(), saved);
  EXPECT_STREQ(t.vorn.GetPresetName(9), "Saved");
  EXPECT_GT(t.HostCalls(vst2::audioMasterUpdateDisplay), displays);
  EXPECT_EQ(t.graphics.Messages().size(), 1u);
}

TEST(ProgramCommands, FailedSaveLeavesTheOldFileWhole) {
  Commands t;
  const std::string bank = t.Path("old.fxb");
  ASSERT_TRUE(t.vorn.SaveBankFile(bank.c_str()));
  const std::string old = ReadWholeFile(bank);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &tiny);
  t.graphics.QueueFileChoice(bank);
  t.Run(kCommandSaveBank);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  ExpectMessage(t.LastMessage(), "Cannot save file!", "Error", IGraphics::kMessageOk);
  EXPECT_EQ(ReadWholeFile(bank), old);
}

TEST(ProgramCommands, StartupBankSelectLoadUnselect) {
  Commands t;
  EXPECT_FALSE(t.vorn.HasStartupBank());
  t.vorn.GoToProgram(12);
  t.vorn.ModifyCurrentPreset("In The Bank");
  const std::string bank = t.Path("start/Start.fxb");
  std::filesystem::create_directories(t.Path("start"));
  ASSERT_TRUE(t.vorn.SaveBankFile(bank.c_str()));
  t.vorn.ModifyCurrentPreset("Changed");

  t.graphics.QueueFileChoice(bank);
  t.Run(kCommandSelectStartupBank);
  EXPECT_EQ(t.graphics.FileDialogs().back().extensions, "fxb");
  EXPECT_EQ(t.graphics.FileDialogs().back().action, IGraphics::kFileOpen);
  EXPECT_EQ(t.vorn.StartupBankPath(), bank);
  EXPECT_TRUE(t.vorn.HasStartupBank());
  EXPECT_EQ(CurrentProgramFolder(), t.home.Base());  // selecting does not move the folder
  EXPECT_NE(t.home.Read().find("[Startup Bank]\r\nFile=" + bank + "\r\n"), std::string::npos);
  EXPECT_STREQ(t.vorn.GetPresetName(12), "Changed");  // nothing loaded yet

  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandLoadStartupBank);
  EXPECT_STREQ(t.vorn.GetPresetName(12), "In The Bank");

  std::filesystem::remove(bank);
  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandLoadStartupBank);
  ExpectMessage(t.LastMessage(), "Cannot load file!", "Error", IGraphics::kMessageOk);

  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandUnselectStartupBank);
  EXPECT_FALSE(t.vorn.HasStartupBank());
  EXPECT_EQ(t.home.Read().find("File"), std::string::npos);
  EXPECT_NE(t.home.Read().find("[Startup Bank]"), std::string::npos);
}

TEST(ProgramCommands, DefaultProgramFolder) {
  Commands t;
  SetCurrentProgramFolder("");
  t.Run(kCommandDefaultProgramFolder);  // cancelled: nothing written
  EXPECT_EQ(t.home.Read().find("Path to Program Files"), std::string::npos);
  const std::string chosen = t.Path("My Programs");
  t.graphics.QueueFileChoice(chosen + "/[file name is ignored]");
  t.Run(kCommandDefaultProgramFolder);
  t.Run(kCommandLoadProgram);  // cancelled; opens in the chosen folder

  const auto& dialogs = t.graphics.FileDialogs();
  ASSERT_EQ(dialogs.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(dialogs[i].fileName, "[file name is ignored]");
    EXPECT_EQ(dialogs[i].extensions, " ");
    EXPECT_EQ(dialogs[i].action, IGraphics::kFileSave);
    EXPECT_EQ(dialogs[i].folder, t.vorn.DocumentsFolder());
  }
  EXPECT_EQ(dialogs[2].folder, chosen);
  EXPECT_EQ(t.vorn.ProgramFolder(), chosen);
  EXPECT_NE(t.home.Read().find("[Global]\r\nPath to Program Files=" + chosen + "\r\n"), std::string::npos);
  EXPECT_TRUE(t.graphics.Messages().empty());
}

TEST(ProgramCommands, SettingsCommands) {
  Commands t;
  t.Run(kCommandMidiThru);
  EXPECT_TRUE(t.vorn.MidiThru());
  EXPECT_NE(t.home.Read().find("MIDI Thru=true"), std::string::npos);
  t.Run(kCommandIgnoreProgramChange);
  EXPECT_TRUE(t.vorn.IgnoreProgramChange());
  EXPECT_NE(t.home.Read().find("Ignore Program Change=true"), std::string::npos);
  t.Run(kCommandMidiThru);
  EXPECT_FALSE(t.vorn.MidiThru());
  EXPECT_TRUE(t.graphics.Messages().empty());

  t.vorn.BindController(74, 12);
  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandSaveConfiguration);
  EXPECT_NE(t.home.Read().find("[MIDI Control]\r\nCC74=12\r\n"), std::string::npos);

  std::filesystem::remove(t.home.File());
  t.graphics.QueueMessageAnswer(kYes);
  t.Run(kCommandReloadConfiguration);
  ExpectMessage(t.LastMessage(), "The INI file does not exist.", "Problem with INI File", IGraphics::kMessageOk);
  EXPECT_EQ(t.vorn.ControllerTarget(74), Synth::kUnbound);

  const std::size_t shown = t.graphics.Messages().size();
  for (const int nothing : {3, 8, 12, 14, 17, 19, 23, 24, -1, 1000}) t.Run(nothing);
  EXPECT_EQ(t.graphics.Messages().size(), shown);
  EXPECT_TRUE(t.graphics.FileDialogs().empty());
}

}  // namespace
