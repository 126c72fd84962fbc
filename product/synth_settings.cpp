// Synth's per-user settings: one INI file shared by every instance, read at
// construction and on request, written key by key when the user changes a
// setting. Each write reads the file afresh and replaces it whole, so
// instances writing in turn keep each other's keys.
#include <cstdio>
#include <string>

#include "plugin/file_system.h"
#include "product/menu_commands.h"
#include "product/program_folder.h"
#include "product/settings/ini_file.h"
#include "product/settings/profile_text.h"
#include "product/settings/settings_folders.h"
#include "product/synth.h"

namespace {

constexpr const char* kFolderWord = "PaperKiteSounds";
constexpr const char* kFileName = "vorn.ini";

constexpr const char* kStartupBankSection = "Startup Bank";
constexpr const char* kStartupBankKey = "File";
constexpr const char* kGlobalSection = "Global";
constexpr const char* kProgramFolderKey = "Path to Program Files";
constexpr const char* kMidiSection = "MIDI Global";
constexpr const char* kMidiThruKey = "MIDI Thru";
constexpr const char* kIgnoreProgramChangeKey = "Ignore Program Change";
constexpr const char* kControllerSection = "MIDI Control";

// Paths are kept whole up to any platform's limit; other values are short.
constexpr std::size_t kPathValueLimit = 4096;
constexpr std::size_t kShortValueLimit = 63;

const char* FlagText(bool on) { return on ? "true" : "false"; }

std::string ControllerKey(int controller) { return "CC" + std::to_string(controller); }

std::string ReadValue(const IniDocument& file, const char* section, const char* key, const std::string& fallback,
                      std::size_t limit) {
  std::string value;
  if (!file.Find(section, key, value)) value = fallback;
  if (value.size() > limit) value.resize(limit);
  return value;
}

void ReadFlag(const IniDocument& file, const char* key, std::atomic<bool>& flag) {
  const std::string text = ReadValue(file, kMidiSection, key, FlagText(flag), kShortValueLimit);
  if (!text.empty()) flag = EqualsIgnoringCase(text, "true");
}

void PutStartupBankEntry(IniDocument& file, const std::string& path) {
  file.ClearSection(kStartupBankSection);
  file.Set(kStartupBankSection, kStartupBankKey, path);
}

// A settings file is only rewritten when it could be read whole or is not there.
bool OpenForEdit(const std::string& path, IniDocument& file) {
  return !path.empty() && ReadIniFile(path, file) != IniFileState::kUnreadable;
}

}  // namespace

void Synth::OpenConfiguration() {
  const std::string base = UserSettingsBaseFolder();
  mDocumentsFolder = UserDocumentsFolder();
  mProgramFolder = mDocumentsFolder;
  if (base.empty()) return;
  const std::string folder = JoinPath(base, kFolderWord);
  MakeFolder(folder);
  mConfigurationPath = JoinPath(folder, kFileName);
  // Appending creates a missing file empty and never truncates one that
  // another instance has just written.
  if (std::FILE* file = file_system::Open(mConfigurationPath.c_str(), "ab")) {
    std::fclose(file);
    ReadConfiguration();
  }
}

int Synth::ReadConfiguration() {
  IniDocument file;
  const IniFileState state =
      mConfigurationPath.empty() ? IniFileState::kMissing : ReadIniFile(mConfigurationPath, file);

  mStartupBankPath = ReadValue(file, kStartupBankSection, kStartupBankKey, "", kPathValueLimit);
  const std::string folder = ReadValue(file, kGlobalSection, kProgramFolderKey, "", kPathValueLimit);
  if (!folder.empty()) mProgramFolder = folder;
  ReadFlag(file, kMidiThruKey, mMidiThru);
  ReadFlag(file, kIgnoreProgramChangeKey, mIgnoreProgramChange);
  {
    std::lock_guard<std::recursive_mutex> lock(Mutex());
    for (int controller = 0; controller < kLearnableControllers; ++controller) {
      const std::string text =
          ReadValue(file, kControllerSection, ControllerKey(controller).c_str(), "-1", kShortValueLimit);
      if (text.empty()) continue;
      const int target = LeadingInteger(text);
      mControllerMap[static_cast<std::size_t>(controller)] = (target != 0 || text[0] == '0') ? target : kUnbound;
    }
  }
  return state == IniFileState::kMissing ? kResultNoConfiguration : kResultOk;
}

int Synth::WriteConfiguration(int which) {
  IniDocument file;
  if (!OpenForEdit(mConfigurationPath, file)) return kResultOk;
  PutStartupBankEntry(file, mStartupBankPath);
  if (which < 0 || which == kCommandMidiThru) file.Set(kMidiSection, kMidiThruKey, FlagText(mMidiThru));
  if (which < 0 || which == kCommandIgnoreProgramChange) {
    file.Set(kMidiSection, kIgnoreProgramChangeKey, FlagText(mIgnoreProgramChange));
  }
  if (which < 0) {
    file.ClearSection(kControllerSection);
    std::lock_guard<std::recursive_mutex> lock(Mutex());
    for (int controller = 0; controller < kLearnableControllers; ++controller) {
      const int target = mControllerMap[static_cast<std::size_t>(controller)];
      if (target != kUnbound) file.Set(kControllerSection, ControllerKey(controller), std::to_string(target));
    }
  }
  WriteIniFile(mConfigurationPath, file);
  return kResultOk;
}

void Synth::WriteStartupBankEntry() {
  IniDocument file;
  if (!OpenForEdit(mConfigurationPath, file)) return;
  PutStartupBankEntry(file, mStartupBankPath);
  WriteIniFile(mConfigurationPath, file);
}

void Synth::WriteProgramFolder() {
  mProgramFolder = CurrentProgramFolder();
  IniDocument file;
  if (!OpenForEdit(mConfigurationPath, file)) return;
  file.Set(kGlobalSection, kProgramFolderKey, mProgramFolder);
  WriteIniFile(mConfigurationPath, file);
}

int Synth::SelectStartupBank(const std::string& path) {
  mStartupBankPath = path;
  WriteStartupBankEntry();
  return kResultOk;
}

void Synth::UnselectStartupBank() {
  mStartupBankPath.clear();
  IniDocument file;
  if (!OpenForEdit(mConfigurationPath, file)) return;
  file.ClearSection(kStartupBankSection);
  WriteIniFile(mConfigurationPath, file);
}

void Synth::PassMidiThrough(const MidiMessage& message) {
  if (mMidiThru) SendMidiMessage(message);
}
