// Message boxes and the one-line field dialog of the X11 window, drawn with
// the raster layer in a top-level dialog window (transient for the host's
// window): the caption as title, the text, an optional edit field and a row
// of buttons. Tab and the arrows move between buttons, Return presses the
// focused button (the first while the field has the focus), Escape and the
// window manager's close give the escape answer where there is one.
// Modal on the connection thread.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "editor/platform/x11_connection.h"
#include "editor/platform/x11_surface.h"

class X11MessageBox : public X11Client {
 public:
  struct Button {
    const char* label;
    int answer;
  };
  static constexpr int kButtonWidth = 80;
  static constexpr int kButtonHeight = 24;
  static constexpr int kMargin = 16;
  static constexpr int kNoEscape = -1;

  // The answer of the button pressed; escapeAnswer for Escape or close (or
  // when the owner goes away); with field, the dialog shows it for editing.
  static int Run(X11Connection& connection, X11Client* owner, Window transientFor, const char* caption,
                 const char* text, const std::vector<Button>& buttons, int escapeAnswer, std::string* field);
  // The buttons and escape answer of a ShowMessage type.
  static std::vector<Button> ButtonsFor(int type, int& escapeAnswer);

 private:
  X11MessageBox(X11Connection& connection) : mConnection(connection) {}
  void HandleEvent(XEvent& event) override;
  void Layout(const char* text);
  void Draw();
  IBox ButtonBox(size_t index) const;

  X11Connection& mConnection;
  Window mWindow = 0;
  std::vector<std::string> mLines;
  std::vector<Button> mButtons;
  std::string* mField = nullptr;
  int mFocus = 0;  // -1: the field
  int mEscapeAnswer = kNoEscape;
  int mAnswer = kNoEscape;
  bool mDone = false;
  int mWidth = 0;
  int mHeight = 0;
  int mFieldTop = 0;
  Atom mDeleteWindow = 0;
  X11Canvas mCanvas;
};
