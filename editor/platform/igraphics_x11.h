// The editor window for X11 hosts: a child of the window the host passes to
// effEditOpen, showing the draw bitmap, translating X events into the core's
// mouse and key entries, ticking at the editor's frame rate, and providing
// menus, the text entry, message boxes and dialogs drawn with the raster
// layer (no toolkit is loaded into the host).
//
// Threads: Open and Close come from the host (under the plug-in mutex) and
// only create or destroy the X window. Everything else that calls into the
// core (events, ticks, menus, dialogs, the entry) runs on the connection's
// thread (X11Connection), the one window thread of every editor in the
// process; it runs whether or not the host sends effEditIdle.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <memory>
#include <string>

#include "editor/igraphics.h"
#include "editor/platform/x11_connection.h"

class X11TextEntry;

class IGraphicsX11 : public IGraphics, private X11Client {
 public:
  // Text entry states, as on Windows.
  enum EntryState : int { kEntryIdle = 0, kEntryFocused = 1, kEntryDrawn = 2, kEntryCancel = 3, kEntryCommit = 4 };
  // Two presses of the left button this close in time and space make a
  // double-click (the Windows defaults).
  static constexpr long kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 4;

  explicit IGraphicsX11(PluginBase* plugin);
  ~IGraphicsX11() override;

  bool PresentBox(const IBox& box) override;
  void AbortTextEntry() override;
  void Resize(int width, int height) override;
  const char* DrawingApiName() override { return "X11"; }
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
  // Host thread: the first call connects to the X server (DISPLAY).
  bool Open(void* parentWindow) override;
  void Close() override;
  void* NativeWindow() override;
  bool ClipboardText(std::string& out) override;
  void HideCursor() override;
  void RestoreCursor() override;
  PX_IBitmap* LoadImageResource(int id, const char* name) override;
  bool CanOpenWindow() const override { return true; }
  // Leaves the connection's thread for good (before the plug-in is destroyed).
  void StopEvents() override;

  // The text entry's state (tests read it through the window's behaviour).
  int EntryStateForTesting() const { return mEntryState; }

 private:
  // X11Client, on the connection's thread.
  void HandleEvent(XEvent& event) override;
  int TickPeriod() override;
  void Tick() override;
  // Menus and boxes close with the editor's window.
  bool WantsModalEnd() override { return mWindow == 0; }

  void HandleButtonPress(XButtonEvent& event);
  void HandleButtonRelease(XButtonEvent& event);
  void HandleMotion(XMotionEvent& event);
  void HandleKey(XKeyEvent& event);
  void HandleExpose(XExposeEvent& event);
  // Sends the key event on to the host's top-level window.
  void ForwardKey(XKeyEvent& event);
  void CloseTextEntry(bool apply);
  // The host's top-level window above ours (for keys and dialogs), or 0.
  Window HostTopLevel();
  // The same, taking the connection's lock; 0 while the window is closed.
  Window HostTopLevelLocked();

  X11Connection* mConnection = nullptr;
  std::atomic<Window> mWindow{0};
  Window mParent = 0;
  // Thread-side state.
  bool mCaptured = false;
  bool mTrackingLeave = false;
  Time mLastClickTime = 0;
  int mLastClickX = -1000;
  int mLastClickY = -1000;
  IBox mExposed;
  std::atomic<bool> mRepaintAll{false};
  std::unique_ptr<X11TextEntry> mEntry;
  std::atomic<int> mEntryState{kEntryIdle};
  IControl* mEntryControl = nullptr;
  const IParam* mEntryParam = nullptr;
  Cursor mBlankCursor = 0;
  bool mCursorHidden = false;
  int mHiddenAtX = 0;
  int mHiddenAtY = 0;
};
