// The editor's Windows services: message boxes with their owner search, the
// file and colour dialogs, links, standard folders and the clipboard. Every
// text goes through the wide functions; callers see UTF-8.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cwchar>
#include <sstream>
#include <string>

#include "editor/platform/igraphics_win.h"
#include "editor/platform/win_text.h"

namespace {

// The file name buffer of the file dialogs, and the limits of the filter.
constexpr int kFileNameLength = 255;
constexpr size_t kPatternLength = 255;
constexpr size_t kDefaultExtensionLength = 15;
constexpr int kClassNameLength = 256;

// Cuts text to at most limit bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

// The module's path up to and including its last '\': empty when there is
// none or when it is the path's last character.
std::string ModuleFolder(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  const wchar_t* slash = std::wcsrchr(path, L'\\');
  if (!slash || slash[1] == L'\0') return std::string();
  return CutUtf8(NarrowToUtf8(path, static_cast<int>(slash - path + 1)), IGraphicsWin::kFolderLimit);
}

std::string ShellFolder(int folderId) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, folderId, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
  std::string folder = NarrowToUtf8(path);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return CutUtf8(folder, IGraphicsWin::kFolderLimit);
}

struct OwnerSearch {
  DWORD processId;
  std::wstring className;
  HWND found;
};

BOOL CALLBACK FindOwnerWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<OwnerSearch*>(data);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId) return TRUE;
  wchar_t className[kClassNameLength] = {};
  GetClassNameW(window, className, kClassNameLength);
  if (search->className != className) return TRUE;
  search->found = window;
  return FALSE;
}

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* chooser = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(chooser->lCustData));
  }
  return 0;
}

}  // namespace

void* IGraphicsWin::FindMessageOwner() {
  if (mTopLevelWindow && IsWindow(mTopLevelWindow)) return mTopLevelWindow;
  mTopLevelWindow = nullptr;
  if (mWindow) {
    HWND root = GetAncestor(mWindow, GA_ROOT);
    if (root) {
      wchar_t className[kClassNameLength] = {};
      GetClassNameW(root, className, kClassNameLength);
      mTopLevelClass = NarrowToUtf8(className);
      mTopLevelWindow = root;
    }
    return root;
  }
  if (mTopLevelClass.empty()) return nullptr;
  mProcessId = GetCurrentProcessId();
  OwnerSearch search{mProcessId, WidenUtf8(mTopLevelClass), nullptr};
  EnumWindows(FindOwnerWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int IGraphicsWin::ShowMessage(const char* text, const char* caption, int type) {
  const std::wstring wideText = WidenUtf8(text);
  const std::wstring wideCaption = WidenUtf8(caption);
  return MessageBoxW(static_cast<HWND>(FindMessageOwner()), wideText.c_str(), wideCaption.c_str(),
                     static_cast<UINT>(type));
}

void IGraphicsWin::ChooseFile(std::string& fileName, int action, std::string& folder, const char* extensions) {
  if (!mWindow) {
    fileName.clear();
    return;
  }
  std::string startFolder = folder;
  if (startFolder.empty()) DesktopFolder(startFolder);

  std::string pattern;
  std::string defaultExtension;
  std::istringstream words(extensions ? extensions : "");
  for (std::string word; words >> word;) {
    if (defaultExtension.empty()) defaultExtension = word.substr(0, kDefaultExtensionLength);
    std::string next = pattern.empty() ? "*." + word : pattern + ";*." + word;
    if (next.size() > kPatternLength) break;
    pattern = next;
  }
  const std::wstring widePattern = WidenUtf8(pattern);
  // Description and pattern, each ended by a zero, and a zero after both.
  std::wstring filter = widePattern + L'\0' + widePattern + L'\0' + L'\0';
  const std::wstring wideExtension = WidenUtf8(defaultExtension);
  const std::wstring wideFolder = WidenUtf8(startFolder);

  wchar_t path[kFileNameLength + 1] = {};
  const std::wstring initial = WidenUtf8(fileName);
  initial.copy(path, kFileNameLength);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = mWindow;
  dialog.lpstrFilter = pattern.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = path;
  dialog.nMaxFile = kFileNameLength + 1;
  dialog.lpstrInitialDir = wideFolder.c_str();
  dialog.lpstrDefExt = wideExtension.empty() ? nullptr : wideExtension.c_str();
  // The host's working folder is left alone.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  BOOL chosen = FALSE;
  if (action == kFileSave) {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameW(&dialog);
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameW(&dialog);
  }
  if (!chosen) {
    fileName.clear();
    return;
  }
  path[kFileNameLength] = L'\0';
  fileName = NarrowToUtf8(path);
  const int offset = dialog.nFileOffset;
  folder = offset > 0 && offset <= kFileNameLength ? NarrowToUtf8(path, offset) : std::string();
}

bool IGraphicsWin::ChooseColour(IColour& colour, const char* prompt) {
  if (!mWindow) return false;
  if (!mCustomColours) mCustomColours = new unsigned long[kCustomColours]();
  const std::wstring title = WidenUtf8(prompt);
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = mWindow;
  dialog.rgbResult = RGB(colour.r & 0xFF, colour.g & 0xFF, colour.b & 0xFF);
  dialog.lpCustColors = reinterpret_cast<COLORREF*>(mCustomColours);
  dialog.Flags = CC_FULLOPEN | CC_RGBINIT | CC_ANYCOLOR | CC_ENABLEHOOK;
  dialog.lpfnHook = ColourDialogHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(title.c_str());
  if (!ChooseColorW(&dialog)) return false;
  colour.r = GetRValue(dialog.rgbResult);
  colour.g = GetGValue(dialog.rgbResult);
  colour.b = GetBValue(dialog.rgbResult);
  return true;
}

bool IGraphicsWin::OpenLink(const char* url, const char* title, const char* confirmText, const char* failureText) {
  if (confirmText && ShowMessage(confirmText, title, MB_YESNO) != IDYES) return false;
  DWORD state = 0;
  if (url && InternetGetConnectedState(&state, 0)) {
    const std::wstring wideUrl = WidenUtf8(url);
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(mWindow, L"open", wideUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
  }
  if (failureText) ShowMessage(failureText, title, MB_OK);
  return false;
}

void IGraphicsWin::HostFolder(std::string& out) { out = ModuleFolder(nullptr); }

void IGraphicsWin::PluginFolder(std::string& out) { out = ModuleFolder(static_cast<HMODULE>(mModule)); }

void IGraphicsWin::DesktopFolder(std::string& out) { out = ShellFolder(CSIDL_DESKTOPDIRECTORY); }

void IGraphicsWin::AppDataFolder(std::string& out, bool shared) {
  out = ShellFolder(shared ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA);
}

bool IGraphicsWin::ClipboardText(std::string& out) {
  out.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mWindow)) return false;
  bool found = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The clipboard's block may lack its zero; read no further than it.
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      out = NarrowToUtf8(text, static_cast<int>(wcsnlen(text, limit)));
      found = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return found;
}
