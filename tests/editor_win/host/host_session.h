// One plug-in instance in a window of the check host: the library loaded
// through VSTPluginMain, a top-level frame window for the editor, the host
// callback's edit gestures and automation recorded in order, the keys the
// frame received, and message pumping that does not spin.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/vst2/vst2_abi.h"

struct HostEvent {
  int opcode;  // audioMasterBeginEdit, audioMasterAutomate or audioMasterEndEdit
  int index;
  float value;
};

class HostSession {
 public:
  static constexpr float kSampleRate = 48000.0f;
  static constexpr int kBlockSize = 512;

  // Loads the library (once per process) and creates an instance with a
  // frame window of its own; Ready() tells whether that worked.
  explicit HostSession(const std::wstring& library);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  bool Ready() const { return mEffect != nullptr && mFrame != nullptr; }
  const std::string& Error() const { return mError; }
  vst2::AEffect* Effect() const { return mEffect; }
  HWND Frame() const { return mFrame; }
  HMODULE Library() const { return mLibrary; }
  vst2::IntPtr Dispatch(int opcode, int index = 0, vst2::IntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

  bool OpenEditor();
  void CloseEditor();
  // Destroys the instance (effClose) while the frame stays.
  void CloseInstance();
  // The editor's child window in the frame, or null.
  HWND Editor() const;

  // Handles messages for ms milliseconds, sleeping while there are none.
  static void Pump(int ms);
  // Handles messages until done() or the time is up; answers done().
  static bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

  // Times the dispatch of every timer message to window (the editor's tick)
  // from now on; null stops. TimedTicks answers the count and the seconds.
  static void TimeTicksOf(HWND window);
  static void TimedTicks(int& count, double& seconds);

  std::vector<HostEvent> TakeEvents();
  std::vector<HostEvent> Events();
  // WM_KEYDOWN and WM_KEYUP messages the frame received: (message, key).
  std::vector<std::pair<UINT, WPARAM>> TakeFrameKeys();

 private:
  static vst2::IntPtr VST_CALL HostCallback(vst2::AEffect* effect, std::int32_t opcode, std::int32_t index,
                                            vst2::IntPtr value, void* ptr, float opt);
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HMODULE mLibrary = nullptr;
  vst2::AEffect* mEffect = nullptr;
  HWND mFrame = nullptr;
  std::string mError;
  std::mutex mLock;
  std::vector<HostEvent> mEvents;
  std::vector<std::pair<UINT, WPARAM>> mFrameKeys;
};
