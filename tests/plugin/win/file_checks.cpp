// Program and bank files under Windows, run under Wine: saved, replaced and
// loaded through the frame's UTF-8 paths in a folder named with letters from
// several scripts, none of which the ANSI code page holds all of; and a file
// past the size cap refused. Prints one line per failed check and
// "N passed, N failed"; exits non-zero when anything failed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/byte_chunk.h"
#include "tests/plugin/test_plugin.h"

namespace {

const wchar_t kFolderName[] =
    L"Vorn \u00C5ngstr\u00F6m \u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC "
    L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430 \u65E5\u672C\u8A9E "
    L"\uD55C\uAD6D\uC5B4 \u05E2\u05D1\u05E8\u05D9\u05EA";
constexpr double kSavedValue = 3.0;

int gPassed = 0;
int gFailed = 0;

void Check(bool ok, const char* what) {
  if (ok) {
    ++gPassed;
  } else {
    ++gFailed;
    std::printf("FAIL %s\n", what);
  }
}

std::string Utf8(const std::wstring& wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], length, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int CountFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

bool HoldsSavedProgram(const TestPlugin& plugin) {
  return std::string(plugin.GetPresetName(0)) == "Saved" && plugin.GetParam(5)->Value() == kSavedValue;
}

void CheckFilesInFolder(const std::wstring& folder) {
  const std::string utf8Folder = Utf8(folder);
  const std::string bank = utf8Folder + "\\bank.fxb";
  const std::string program = utf8Folder + "\\program.fxp";

  TestPlugin plugin;
  plugin.SelectPreset(0);
  plugin.SetAll(kSavedValue);
  plugin.ModifyCurrentPreset("Saved");
  Check(plugin.SaveBankFile(bank.c_str()), "save a bank");
  Check(Exists(folder + L"\\bank.fxb"), "the bank is where the UTF-8 path names it");
  Check(plugin.SaveBankFile(bank.c_str()), "save the bank again, replacing it");
  Check(plugin.SaveProgramFile(program.c_str()), "save a program");
  Check(CountFiles(folder) == 2, "no temporary file left beside them");

  TestPlugin bankLoader;
  bankLoader.FillEmptyPresets(PluginBase::kPresetCount);
  Check(bankLoader.LoadBankFile(bank.c_str()), "load the bank");
  Check(HoldsSavedProgram(bankLoader), "the loaded bank holds the saved program");
  TestPlugin programLoader;
  programLoader.FillEmptyPresets(PluginBase::kPresetCount);
  Check(programLoader.LoadProgramFile(program.c_str()), "load the program");
  Check(HoldsSavedProgram(programLoader), "the loaded program is the saved one");

  // One byte past the cap: refused, the plug-in unchanged.
  const std::wstring large = folder + L"\\large.fxb";
  if (std::FILE* file = _wfopen(large.c_str(), L"wb")) {
    std::vector<char> bytes(static_cast<std::size_t>(kMaxChunkSize) + 1, 0);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  TestPlugin untouched;
  untouched.FillEmptyPresets(PluginBase::kPresetCount);
  const std::string name = untouched.GetPresetName(0);
  Check(!untouched.LoadBankFile(Utf8(large).c_str()), "a bank past the size cap is refused");
  Check(name == untouched.GetPresetName(0), "a refused bank changes nothing");
  Check(!untouched.LoadBankFile((utf8Folder + "\\missing.fxb").c_str()), "a missing bank is refused");
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder = std::wstring(temp, length) + kFolderName + L" " + std::to_wstring(GetCurrentProcessId());
  Check(CreateDirectoryW(folder.c_str(), nullptr) != 0, "create the test folder");
  CheckFilesInFolder(folder);
  for (const wchar_t* name : {L"bank.fxb", L"program.fxp", L"large.fxb"}) DeleteFileW((folder + L"\\" + name).c_str());
  RemoveDirectoryW(folder.c_str());
  std::printf("%d passed, %d failed\n", gPassed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
