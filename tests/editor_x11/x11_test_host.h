// A small Linux VST 2 host for the editor tests: a top-level window with a
// frame child the editor opens into, a plug-in module loaded through
// VSTPluginMain, a host callback that records edit gestures, and the XTEST
// extension to move the pointer, click and type like a user.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/vst2/vst2_abi.h"

class X11TestHost {
 public:
  // One host request about a parameter, in the order received.
  struct EditEvent {
    int opcode;  // audioMasterBeginEdit, audioMasterAutomate or audioMasterEndEdit
    int index;
    float value;
  };

  static constexpr int kFrameX = 20;
  static constexpr int kFrameY = 10;

  // Connects (DISPLAY) and maps the top-level window; IsReady is false
  // without an X server.
  X11TestHost();
  ~X11TestHost();
  bool IsReady() const { return mDisplay != nullptr; }
  Display* GetDisplay() const { return mDisplay; }
  Window TopLevel() const { return mTopLevel; }
  Window Frame() const { return mFrame; }
  // A new frame window (the old one destroyed when destroyOld).
  void NewFrame(bool destroyOld);
  // X errors reported on the host's own connection.
  int HostErrors() const { return mHostErrors; }

  // Loads the module and makes an instance (effOpen, rate, block, resume).
  bool Load(const std::string& path);
  vst2::AEffect* Effect() const { return mEffect; }
  vst2::IntPtr Dispatch(int opcode, int index = 0, vst2::IntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
  // effEditOpen into the frame; the editor's window once it is mapped.
  bool OpenEditor();
  void CloseEditor() { Dispatch(vst2::effEditClose); }
  // The editor's child window of the frame, or 0.
  Window EditorWindow();
  // Destroys the instance (effClose); the module stays loaded.
  void Unload();

  std::vector<EditEvent> TakeEditEvents();
  float Parameter(int index) const { return mEffect->getParameter(mEffect, index); }
  std::string ParameterDisplay(int index);

  // Pointer and keys through XTEST, at editor coordinates.
  void MoveTo(int x, int y);
  void MoveToRoot(int x, int y);
  void Press(int button);
  void Release(int button);
  void Click(int x, int y, int button = 1);
  void Key(KeySym keysym);
  // Keys the top-level window received since the last call (keycodes of
  // synthetic KeyPress events, i.e. sent by the plug-in).
  std::vector<unsigned> TakeForwardedKeys();

  // Runs the host's side for ms milliseconds: its events, and effEditIdle
  // every 10 ms when idleCalls is on.
  void Pump(int ms);
  // Pumps until done answers true or timeoutMs pass.
  // The time-out is generous: on a loaded machine the editor's thread may
  // take seconds to answer; a passing wait returns as soon as it is done.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 15000);
  void SetIdleCalls(bool on) { mIdleCalls = on; }

  // Override-redirect windows on the root named name, top first.
  std::vector<Window> PopupWindows(const char* name);
  // Root position of a window's top-left corner.
  void RootPosition(Window window, int& x, int& y);

 private:
  static vst2::IntPtr HostCallback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index, vst2::IntPtr value,
                                   void* ptr, float opt);
  static int CountError(Display* display, XErrorEvent* error);

  Display* mDisplay = nullptr;
  Window mTopLevel = 0;
  Window mFrame = 0;
  void* mModule = nullptr;
  vst2::AEffect* mEffect = nullptr;
  bool mIdleCalls = false;
  std::vector<unsigned> mForwardedKeys;
  static std::atomic<int> mHostErrors;
  static std::mutex sEventsLock;
  static std::vector<EditEvent> sEvents;
};
