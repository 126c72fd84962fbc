// The option menu's commands: the program clipboard, initialising a program,
// program and bank files through the editor's file dialogs, the start-up
// bank, the default program folder and the settings commands. Every text the
// user sees here is the product's own and fixed.
#include <string>

#include "editor/igraphics.h"
#include "product/menu_commands.h"
#include "product/program_folder.h"
#include "product/synth.h"
#include "product/update/update_check.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr std::size_t kProposedNameLimit = 63;
constexpr const char* kCannotLoad = "Cannot load file!";
constexpr const char* kCannotSave = "Cannot save file!";
constexpr const char* kErrorCaption = "Error";
constexpr const char* kInitProgramName = "Init";

// Any answer but No goes ahead.
bool Confirm(IGraphics& graphics, const std::string& text, const char* caption) {
  return graphics.ShowMessage(text.c_str(), caption, IGraphics::kMessageYesNo) != IGraphics::kAnswerNo;
}

void ShowError(IGraphics& graphics, const char* text) {
  graphics.ShowMessage(text, kErrorCaption, IGraphics::kMessageOk);
}

// A program name as a file name: the characters file systems refuse become "_".
std::string ProposedFileName(const std::string& programName) {
  std::string name = programName.substr(0, kProposedNameLimit);
  for (char& c : name) {
    if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) c = '_';
  }
  return name;
}

struct FileCommand {
  int command;
  const char* extension;
  int action;
};

constexpr FileCommand kFileCommands[] = {
    {kCommandLoadProgram, "fxp", IGraphics::kFileOpen},       {kCommandSaveProgram, "fxp", IGraphics::kFileSave},
    {kCommandLoadBank, "fxb", IGraphics::kFileOpen},          {kCommandSaveBank, "fxb", IGraphics::kFileSave},
    {kCommandSelectStartupBank, "fxb", IGraphics::kFileOpen},
};

}  // namespace

void Synth::RunMenuCommand(IGraphics& graphics, int command) {
  StartCurrentProgramFolder(mProgramFolder);
  switch (command) {
    case kCommandCopyProgram: CopyProgram(); break;
    case kCommandPasteProgram:
      if (Confirm(graphics, "Do you really want to overwrite the current program?", "Paste Program")) PasteProgram();
      break;
    case kCommandInitProgram:
      if (Confirm(graphics, "Do you really want to initialize the current program?", "Initialize Program")) {
        InitProgram();
      }
      break;
    case kCommandLoadProgram:
    case kCommandSaveProgram:
    case kCommandLoadBank:
    case kCommandSaveBank:
    case kCommandSelectStartupBank: RunFileCommand(graphics, command); break;
    case kCommandLoadStartupBank: LoadStartupBank(graphics); break;
    case kCommandUnselectStartupBank:
      if (Confirm(graphics, "The Startup Bank is:\n" + mStartupBankPath + "\n\nDo you really want to unselect it?",
                  "Unselect Startup Bank")) {
        UnselectStartupBank();
      }
      break;
    case kCommandDefaultProgramFolder: ChooseProgramFolder(graphics); break;
    case kCommandReloadConfiguration:
      if (Confirm(graphics,
                  "The INI configuration file is:\n" + mConfigurationPath + "\n\nDo you really want to reload it?",
                  "Reload Configuration") &&
          ReadConfiguration() == kResultNoConfiguration) {
        graphics.ShowMessage("The INI file does not exist.", "Problem with INI File", IGraphics::kMessageOk);
      }
      break;
    case kCommandSaveConfiguration:
      if (Confirm(graphics,
                  "The INI configuration file is:\n" + mConfigurationPath + "\n\nDo you really want to overwrite it?",
                  "Save Configuration")) {
        WriteConfiguration(kWriteAllSettings);
      }
      break;
    case kCommandSwitchView: SwitchView(); break;
    case kCommandMidiThru:
      mMidiThru = !mMidiThru;
      WriteConfiguration(kCommandMidiThru);
      break;
    case kCommandIgnoreProgramChange:
      mIgnoreProgramChange = !mIgnoreProgramChange;
      WriteConfiguration(kCommandIgnoreProgramChange);
      break;
    case kCommandCheckForUpdate: CheckForUpdate(graphics); break;
    default: break;
  }
}

void Synth::GoToProgram(int index) {
  Lock lock(Mutex());
  ModifyCurrentPreset();
  SelectPreset(index);
  NotifyHostProgramChange();
  NotifyHostAllParams();
}

void Synth::CopyProgram() {
  Lock lock(Mutex());
  ModifyCurrentPreset();
  mClipboardSource = CurrentPresetIndex();
  mProgramClipboard.Clear();
  SerializeState(mProgramClipboard);
}

void Synth::PasteProgram() {
  Lock lock(Mutex());
  if (mProgramClipboard.Size() == 0) return;
  UnserializeState(mProgramClipboard, 0);
  const bool sourceExists = mClipboardSource >= 0 && mClipboardSource < kPresetCount;
  const std::string name = sourceExists ? GetPresetName(mClipboardSource) : "";
  ModifyCurrentPreset(name.empty() ? nullptr : name.c_str());
  RefreshEditorControls();
  NotifyHostAllParams();
}

void Synth::InitProgram() {
  Lock lock(Mutex());
  for (int i = 0; i < kParameterCount; ++i) {
    const IParam* param = GetParam(i);
    SetParameterFromEditor(i, param->GetNormalized(param->Default()));
  }
  ModifyCurrentPreset(kInitProgramName);
  RefreshEditorControls();
  NotifyHostAllParams();
}

void Synth::RunFileCommand(IGraphics& graphics, int command) {
  const FileCommand* chosen = nullptr;
  for (const FileCommand& entry : kFileCommands) {
    if (entry.command == command) chosen = &entry;
  }
  if (!chosen) return;
  std::string fileName;
  if (command == kCommandSaveProgram) fileName = ProposedFileName(GetPresetName(CurrentPresetIndex()));
  if (command == kCommandSaveBank) fileName = "Vorn";
  std::string folder = CurrentProgramFolder();
  graphics.ChooseFile(fileName, chosen->action, folder, chosen->extension);
  if (fileName.empty()) return;
  if (command == kCommandSelectStartupBank) {
    SelectStartupBank(fileName);
    return;
  }
  bool ok;
  {
    Lock lock(Mutex());
    switch (command) {
      case kCommandLoadProgram: ok = LoadProgramFile(fileName.c_str()); break;
      case kCommandLoadBank: ok = LoadBankFile(fileName.c_str()); break;
      case kCommandSaveProgram:
        ModifyCurrentPreset();
        ok = SaveProgramFile(fileName.c_str());
        break;
      default:
        ModifyCurrentPreset();
        ok = SaveBankFile(fileName.c_str());
        break;
    }
  }
  SetCurrentProgramFolder(FolderOfPath(fileName));
  if (!ok) ShowError(graphics, chosen->action == IGraphics::kFileOpen ? kCannotLoad : kCannotSave);
}

void Synth::LoadStartupBank(IGraphics& graphics) {
  if (!Confirm(graphics, "The Startup Bank is:\n" + mStartupBankPath + "\n\nDo you really want to reload all programs?",
               "Load Startup Bank")) {
    return;
  }
  bool ok;
  {
    Lock lock(Mutex());
    ok = LoadBankFile(mStartupBankPath.c_str());
  }
  if (!ok) ShowError(graphics, kCannotLoad);
}

void Synth::ChooseProgramFolder(IGraphics& graphics) {
  std::string fileName = "[file name is ignored]";
  std::string folder = CurrentProgramFolder().empty() ? mDocumentsFolder : CurrentProgramFolder();
  graphics.ChooseFile(fileName, IGraphics::kFileSave, folder, " ");
  if (fileName.empty()) return;
  SetCurrentProgramFolder(FolderOfPath(fileName));
  WriteProgramFolder();
}

int Synth::CheckForUpdate(IGraphics& graphics) { return RunUpdateCheck(graphics, ConfiguredUpdateServer()); }
