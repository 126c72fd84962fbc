// The editor's Windows window layer: a child window of class "VornWndClass"
// inside the host's editor frame, a timer that drives the drawing cycle, the
// translation of window messages into the core's mouse and key entries, and
// the platform services the product needs (pop-up menus, the in-place text
// entry, file and colour dialogs, message boxes, links, folders, clipboard).
// Every Win32 call of the editor lives in this layer's files: this one with
// igraphics_win.cpp (window, timer, messages), win_text_entry.cpp,
// win_popup_menu.cpp and win_dialogs.cpp. Texts cross to Windows as UTF-16
// (the wide functions) and reach the rest of Vorn as UTF-8.
//
// Threads: everything here runs on the thread that owns the host's window.
// The process-wide window count is guarded all the same, so that editors of
// instances opened on different threads cannot register or remove the class
// twice.
#pragma once

#include <cstdint>
#include <string>

#include "editor/igraphics.h"

// Opaque Win32 handles, so that the core and the product need no <windows.h>.
struct HWND__;
struct HFONT__;

class IGraphicsWin : public IGraphics {
 public:
  // Text entry states: the timer tick and the entry's messages move between them.
  enum EntryState : int {
    kEntryIdle = 0,
    kEntryFocused = 1,
    kEntryDrawnAround = 2,
    kEntryCancel = 3,
    kEntryCommit = 4,
  };
  static constexpr int kTimerId = 2;
  static constexpr int kEntryControlId = 99;
  static constexpr int kWheelDelta = 120;
  static constexpr int kCustomColours = 16;
  static constexpr int kFolderLimit = 256;

  // module: the plug-in library (window class, resources, folders).
  IGraphicsWin(PluginBase* plugin, void* module);
  // Closes the window (and any text entry) first.
  ~IGraphicsWin() override;

  // --- IGraphics platform operations ---
  bool PresentBox(const IBox& box) override;
  void AbortTextEntry() override;
  // Also grows the window, its parent and grandparent by the change.
  void Resize(int width, int height) override;
  const char* DrawingApiName() override { return "Windows GDI"; }
  int ShowMessage(const char* text, const char* caption, int type) override;
  IMenu* RunPopupMenu(IMenu& menu, const IBox& box) override;
  void BeginTextEntry(IControl* control, const ITextStyle& style, const IBox& box, const char* text,
                      const IParam* param) override;
  void HostFolder(std::string& out) override;
  void PluginFolder(std::string& out) override;
  void DesktopFolder(std::string& out) override;
  void AppDataFolder(std::string& out, bool shared) override;
  void ChooseFile(std::string& fileName, int action, std::string& folder, const char* extensions) override;
  bool ChooseColour(IColour& colour, const char* prompt) override;
  bool OpenLink(const char* url, const char* title, const char* confirmText, const char* failureText) override;
  // Re-opening an open editor keeps its position and size in the parent.
  bool Open(void* parentWindow) override;
  void Close() override;
  void* NativeWindow() override { return mWindow; }
  bool CanOpenWindow() const override { return true; }
  bool ClipboardText(std::string& out) override;
  void HideCursor() override;
  void RestoreCursor() override;
  PX_IBitmap* LoadImageResource(int id, const char* name) override;

  // --- Reached from the window procedures (window thread) ---
  // The editor window's messages; answers as a window procedure does.
  std::intptr_t HandleMessage(HWND__* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  // The open entry's messages (the rest go to its previous procedure).
  std::intptr_t HandleEntryMessage(HWND__* entry, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  bool IsTextEntryOpen() const { return mEntryWindow != nullptr; }
  int EntryState() const { return mEntryState; }

 private:
  void OnTimerTick();
  // Applies (commit) or drops the entry's text, then removes the entry.
  void EndTextEntry(bool commit);
  // The answer to the edit control's colour query: a brush, or 0.
  std::intptr_t EntryColours(void* deviceContext);
  void* FindMessageOwner();
  void RegisterWindowUse();
  void ReleaseWindowUse();

  void* mModule;
  HWND__* mWindow = nullptr;
  HWND__* mEntryWindow = nullptr;
  IControl* mEntryControl = nullptr;
  const IParam* mEntryParam = nullptr;
  std::intptr_t mEntryPreviousProc = 0;
  HFONT__* mEntryFont = nullptr;
  int mEntryState = kEntryIdle;
  unsigned long* mCustomColours = nullptr;
  unsigned long mProcessId = 0;
  HWND__* mParentWindow = nullptr;
  HWND__* mTopLevelWindow = nullptr;
  std::string mTopLevelClass;
  bool mCursorHidden = false;
  int mHiddenCursorX = 0;
  int mHiddenCursorY = 0;
  // This editor holds one count of the process-wide window class use.
  bool mHoldsClass = false;
};
