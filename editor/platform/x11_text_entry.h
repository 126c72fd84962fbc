// The in-place text entry of the X11 window: a child window of the editor
// drawn with the raster layer in the style's font and entry colours, with a
// caret, all text selected at first, and the character filter of the
// Windows entry. It only sets the shared entry state (IGraphicsX11's
// EntryState); the editor's tick applies or cancels. Connection thread.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <functional>
#include <string>

#include "editor/ibox.h"
#include "editor/itext_style.h"
#include "editor/platform/x11_connection.h"
#include "editor/platform/x11_surface.h"

class IParam;

class X11TextEntry {
 public:
  using ClipboardReader = std::function<bool(std::string&)>;

  // maxLength < 0: no limit. state becomes 1 when the field takes the focus,
  // 3 on Escape, 4 on Return or when the focus leaves.
  X11TextEntry(X11Connection& connection, Window parent, const IBox& box, const ITextStyle& style,
               const std::string& text, int maxLength, const IParam* param, std::atomic<int>& state,
               ClipboardReader clipboard);
  ~X11TextEntry();
  X11TextEntry(const X11TextEntry&) = delete;
  X11TextEntry& operator=(const X11TextEntry&) = delete;

  Window GetWindow() const { return mWindow; }
  const std::string& Text() const { return mText; }
  void HandleEvent(XEvent& event);

 private:
  void HandleKey(XKeyEvent& event);
  // Inserts what passes the filter and the length limit, replacing a selection.
  void Insert(const std::string& typed);
  void Redraw();

  X11Connection& mConnection;
  Window mWindow = 0;
  int mWidth;
  int mHeight;
  ITextStyle mStyle;
  std::string mText;
  size_t mCaret;
  bool mAllSelected = true;
  int mMaxLength;
  const IParam* mParam;
  std::atomic<int>& mState;
  ClipboardReader mClipboard;
  X11Canvas mCanvas;
};
