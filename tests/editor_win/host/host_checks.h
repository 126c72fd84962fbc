// The groups of checks the host runs against one library. Each creates the
// instances it needs and reports through the context's report.
#pragma once

#include <windows.h>

#include <string>

#include "tests/editor_win/host/report.h"

class HostSession;

struct HostContext {
  std::wstring library;
  // Where captures are saved, and where the reference images are (may be "").
  std::string screenshotDir;
  std::string referenceDir;
  // Names the captures: <state>-<tag>.png.
  std::string tag;
  // The library carries the check layout, so its controls can be driven.
  bool checkLayout = false;
  Report* report = nullptr;
};

// Screen position of a point of the editor window.
POINT EditorToScreen(HWND editor, int x, int y);
LPARAM PointParam(int x, int y);

void CheckWindow(HostContext& context);
void CheckPictures(HostContext& context);
void CheckPointer(HostContext& context);
void CheckKeys(HostContext& context);
void CheckTextEntry(HostContext& context);
void CheckMenu(HostContext& context);
void CheckBankDialogs(HostContext& context);
void CheckResize(HostContext& context);
void CheckOpenClose(HostContext& context);
