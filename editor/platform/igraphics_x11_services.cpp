// What the X11 editor offers the product besides its window: menus, message
// boxes, file and colour dialogs (the desktop's zenity or kdialog when
// installed, else a field dialog of ours), links through xdg-open, the
// CLIPBOARD selection, and folders after the XDG conventions.
#include <X11/Xatom.h>
#include <dlfcn.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "editor/platform/igraphics_x11.h"
#include "editor/platform/linux_process.h"
#include "editor/platform/x11_message_box.h"
#include "editor/platform/x11_popup_menu.h"

namespace {

constexpr size_t kFolderLimit = 256;
constexpr int kClipboardWaitMs = 1000;

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  if (folder.size() > kFolderLimit) folder.resize(kFolderLimit);
  return folder;
}

std::string FolderOfPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/";
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string XdgConfigHome() {
  const char* configured = std::getenv("XDG_CONFIG_HOME");
  return configured && *configured == '/' ? configured : HomeFolder() + "/.config";
}

// XDG_DESKTOP_DIR from user-dirs.dirs ("$HOME/..." or an absolute path).
std::string XdgDesktop() {
  std::ifstream file(XdgConfigHome() + "/user-dirs.dirs");
  std::string line;
  while (std::getline(file, line)) {
    const std::string key = "XDG_DESKTOP_DIR=\"";
    if (line.compare(0, key.size(), key) != 0 || line.back() != '"') continue;
    std::string value = line.substr(key.size(), line.size() - key.size() - 1);
    if (value.compare(0, 5, "$HOME") == 0) value = HomeFolder() + value.substr(5);
    if (!value.empty() && value[0] == '/') return value;
  }
  return HomeFolder() + "/Desktop";
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// "#rrggbb", "rgb(r,g,b)" or "rgba(r,g,b,a)" into colour.
bool ParseColour(const std::string& text, IColour& colour) {
  unsigned r = 0, g = 0, b = 0;
  if (std::sscanf(text.c_str(), "#%2x%2x%2x", &r, &g, &b) == 3 ||
      std::sscanf(text.c_str(), "rgb(%u,%u,%u)", &r, &g, &b) == 3 ||
      std::sscanf(text.c_str(), "rgba(%u,%u,%u", &r, &g, &b) == 3) {
    if (r > 255 || g > 255 || b > 255) return false;
    colour.r = static_cast<int>(r);
    colour.g = static_cast<int>(g);
    colour.b = static_cast<int>(b);
    return true;
  }
  return false;
}

}  // namespace

IMenu* IGraphicsX11::RunPopupMenu(IMenu& menu, const IBox& box) {
  ReleaseMouseCapture();
  mCaptured = false;
  const Window window = mWindow;
  if (!mConnection || !window || !mConnection->IsOnThread()) return nullptr;
  int rootX = 0;
  int rootY = 0;
  {
    X11Connection::Guard guard(*mConnection);
    Display* display = mConnection->Display();
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), box.left, box.bottom, &rootX, &rootY, &child);
  }
  IMenu* chosen = X11PopupMenu::Run(*mConnection, this, menu, rootX, rootY);
  MarkAllDirty();
  return chosen;
}

int IGraphicsX11::ShowMessage(const char* text, const char* caption, int type) {
  int escapeAnswer = X11MessageBox::kNoEscape;
  const std::vector<X11MessageBox::Button> buttons = X11MessageBox::ButtonsFor(type, escapeAnswer);
  // Without the window thread there is no one to answer: the box counts as
  // dismissed.
  if (!mConnection || !mConnection->IsOnThread()) {
    return escapeAnswer != X11MessageBox::kNoEscape ? escapeAnswer : buttons.back().answer;
  }
  Window owner = 0;
  {
    X11Connection::Guard guard(*mConnection);
    if (mWindow) owner = HostTopLevel();
  }
  return X11MessageBox::Run(*mConnection, this, owner, caption, text, buttons, escapeAnswer, nullptr);
}

void IGraphicsX11::ChooseFile(std::string& fileName, int action, std::string& folder, const char* extensions) {
  if (!mConnection || !mWindow || !mConnection->IsOnThread()) {
    fileName.clear();
    return;
  }
  std::string start = folder;
  if (start.empty()) DesktopFolder(start);
  start = WithSlash(start) + fileName;
  std::string pattern;
  std::string words = extensions ? extensions : "";
  size_t position = 0;
  while (position < words.size()) {
    size_t end = words.find(' ', position);
    if (end == std::string::npos) end = words.size();
    if (end > position) pattern += (pattern.empty() ? "*." : " *.") + words.substr(position, end - position);
    position = end + 1;
  }
  const bool save = action == kFileSave;
  std::string chosen;
  auto keepWaiting = [this] { return mWindow != 0; };
  if (ProgramOnPath("zenity")) {
    std::vector<std::string> argv = {"zenity", "--file-selection", "--filename=" + start};
    if (save) argv.insert(argv.end(), {"--save", "--confirm-overwrite"});
    if (!pattern.empty()) argv.push_back("--file-filter=" + pattern);
    if (RunProgram(argv, chosen, keepWaiting) != 0) chosen.clear();
  } else if (ProgramOnPath("kdialog")) {
    std::vector<std::string> argv = {"kdialog", save ? "--getsavefilename" : "--getopenfilename", start};
    if (!pattern.empty()) argv.push_back(pattern);
    if (RunProgram(argv, chosen, keepWaiting) != 0) chosen.clear();
  } else {
    chosen = start;
    int escape = kAnswerCancel;
    const int answer = X11MessageBox::Run(*mConnection, this, HostTopLevelLocked(), save ? "Save" : "Open",
                                          pattern.empty() ? "File name:" : ("File name (" + pattern + "):").c_str(),
                                          {{"OK", kAnswerOk}, {"Cancel", kAnswerCancel}}, escape, &chosen);
    if (answer != kAnswerOk || (!save && !IsFile(chosen)) ||
        (save && IsFile(chosen) &&
         ShowMessage((chosen + " already exists.\nDo you want to replace it?").c_str(), "Save", kMessageYesNo) !=
             kAnswerYes)) {
      chosen.clear();
    }
  }
  fileName = Trimmed(chosen);
  if (!fileName.empty()) folder = FolderOfPath(fileName);
}

bool IGraphicsX11::ChooseColour(IColour& colour, const char* prompt) {
  if (!mConnection || !mWindow || !mConnection->IsOnThread()) return false;
  char start[8];
  std::snprintf(start, sizeof start, "#%02x%02x%02x", colour.r & 0xFF, colour.g & 0xFF, colour.b & 0xFF);
  std::string chosen;
  auto keepWaiting = [this] { return mWindow != 0; };
  const std::string title = prompt ? prompt : "";
  if (ProgramOnPath("zenity")) {
    if (RunProgram({"zenity", "--color-selection", "--title=" + title, std::string("--color=") + start}, chosen,
                   keepWaiting) != 0) {
      return false;
    }
  } else if (ProgramOnPath("kdialog")) {
    if (RunProgram({"kdialog", "--title", title, "--getcolor", "--default", start}, chosen, keepWaiting) != 0) {
      return false;
    }
  } else {
    chosen = start;
    if (X11MessageBox::Run(*mConnection, this, HostTopLevelLocked(), title.c_str(), "Colour (#RRGGBB):",
                           {{"OK", kAnswerOk}, {"Cancel", kAnswerCancel}}, kAnswerCancel, &chosen) != kAnswerOk) {
      return false;
    }
  }
  return ParseColour(Trimmed(chosen), colour);
}

bool IGraphicsX11::OpenLink(const char* url, const char* title, const char* confirmText, const char* failureText) {
  if (confirmText && ShowMessage(confirmText, title, kMessageYesNo) != kAnswerYes) return false;
  if (url && StartProgram({"xdg-open", url})) return true;
  if (failureText) ShowMessage(failureText, title, kMessageOk);
  return false;
}

bool IGraphicsX11::ClipboardText(std::string& out) {
  out.clear();
  const Window window = mWindow;
  if (!mConnection || !window || !mConnection->IsOnThread()) return false;
  Display* display = mConnection->Display();
  Atom clipboard, property, targets[2];
  {
    X11Connection::Guard guard(*mConnection);
    clipboard = XInternAtom(display, "CLIPBOARD", False);
    property = XInternAtom(display, "VORN_CLIPBOARD", False);
    targets[0] = XInternAtom(display, "UTF8_STRING", False);
    targets[1] = XA_STRING;
  }
  for (const Atom target : targets) {
    {
      X11Connection::Guard guard(*mConnection);
      if (XGetSelectionOwner(display, clipboard) == None) return false;
      XConvertSelection(display, clipboard, target, property, window, CurrentTime);
      XFlush(display);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kClipboardWaitMs);
    while (std::chrono::steady_clock::now() < deadline) {
      XEvent event;
      bool arrived = false;
      {
        X11Connection::Guard guard(*mConnection);
        arrived = XCheckTypedWindowEvent(display, window, SelectionNotify, &event);
      }
      if (!arrived) {
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 20);
        continue;
      }
      if (event.xselection.property == None) break;
      X11Connection::Guard guard(*mConnection);
      Atom type = None;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* data = nullptr;
      const bool read = XGetWindowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type,
                                           &format, &items, &after, &data) == Success;
      // Large transfers (INCR) are not followed: the entry needs a line.
      if (read && data && format == 8 && type == target) {
        const unsigned char* bytes = data;
        for (unsigned long i = 0; i < items; ++i) {
          if (target == XA_STRING && bytes[i] >= 0x80) {
            out += static_cast<char>(0xC0 | (bytes[i] >> 6));
            out += static_cast<char>(0x80 | (bytes[i] & 0x3F));
          } else {
            out += static_cast<char>(bytes[i]);
          }
        }
      }
      if (data) XFree(data);
      if (!out.empty()) return true;
      break;
    }
  }
  return false;
}

void IGraphicsX11::HostFolder(std::string& out) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  out = length > 0 ? FolderOfPath(std::string(path, static_cast<size_t>(length))) : std::string();
  if (out.size() > kFolderLimit) out.resize(kFolderLimit);
}

void IGraphicsX11::PluginFolder(std::string& out) {
  Dl_info info{};
  out.clear();
  if (dladdr(reinterpret_cast<void*>(&FolderOfPath), &info) && info.dli_fname) {
    char resolved[PATH_MAX];
    out = FolderOfPath(realpath(info.dli_fname, resolved) ? resolved : info.dli_fname);
  }
  if (out.size() > kFolderLimit) out.resize(kFolderLimit);
}

void IGraphicsX11::DesktopFolder(std::string& out) {
  const std::string desktop = XdgDesktop();
  out = WithSlash(IsFolder(desktop) ? desktop : HomeFolder());
}

void IGraphicsX11::AppDataFolder(std::string& out, bool shared) {
  if (!shared) {
    out = WithSlash(XdgConfigHome());
    return;
  }
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  std::string first = dirs && *dirs == '/' ? std::string(dirs).substr(0, std::string(dirs).find(':')) : "/etc/xdg";
  out = WithSlash(first);
}
